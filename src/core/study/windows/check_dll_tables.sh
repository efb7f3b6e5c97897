#!/bin/sh
# Fails unless the study DLL's export table holds exactly the three entry points and its import
# table names only DLLs that Windows itself provides (nothing to ship beside the DLL).
# Usage: check_dll_tables.sh OBJDUMP DLL
set -eu
objdump="$1"
dll="$2"
tables=$("$objdump" -p "$dll")

exports=$(printf '%s\n' "$tables" |
  sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  awk '/^[[:space:]]*\[ *[0-9]+\]/ {print $NF}' | sort | tr '\n' ' ')
imports=$(printf '%s\n' "$tables" | awk '/DLL Name:/ {print $3}' | sort -u | tr '\n' ' ')
echo "exports: $exports"
echo "imports: $imports"

status=0
expected="scdll_DLLName scdll_DLLVersion scsf_Ordinel "
if [ "$exports" != "$expected" ]; then
  echo "expected exactly these exports: $expected"
  status=1
fi
[ -n "$imports" ] || { echo "no import table read"; status=1; }
for name in $imports; do
  case "$(printf '%s' "$name" | tr '[:upper:]' '[:lower:]')" in
    kernel32.dll | advapi32.dll | winhttp.dll | ws2_32.dll | user32.dll | ntdll.dll | \
    msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll | api-ms-win-core-*.dll) ;;
    *) echo "imports $name, which Windows does not provide"; status=1 ;;
  esac
done
exit "$status"
