#!/bin/sh
# Fails unless the study library's dynamic symbol table defines exactly the three entry points.
set -eu
lib="$1"
actual=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort | tr '\n' ' ')
expected="scdll_DLLName scdll_DLLVersion scsf_Ordinel "
if [ "$actual" != "$expected" ]; then
  echo "defined dynamic symbols: $actual"
  echo "expected exactly:        $expected"
  exit 1
fi
echo "exports ok: $actual"
