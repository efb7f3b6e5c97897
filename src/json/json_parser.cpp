// The lenient JSON reader: recursive descent in one pass over the bytes, strings and numbers
// copied once into the tree, numbers read as in the "C" locale whatever the process locale.
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "json/json_value.h"
#include "text/format.h"

namespace json {
namespace {

// =============================================================================================
// Character classes: one table lookup decides how a byte is treated.
// =============================================================================================

enum CharClass : uint8_t {
  kSpace = 1 << 0,       // skipped between tokens
  kDigit = 1 << 1,       // decimal digit
  kHexDigit = 1 << 2,    // digit of a \u escape
  kStringStop = 1 << 3,  // ends a run of plain string bytes: '"' or '\\'
};

constexpr std::array<uint8_t, 256> MakeClassTable() {
  std::array<uint8_t, 256> table{};
  for (const char c : {' ', '\t', '\n', '\r'}) table[static_cast<uint8_t>(c)] |= kSpace;
  for (int c = '0'; c <= '9'; ++c) table[c] |= kDigit | kHexDigit;
  for (int c = 'a'; c <= 'f'; ++c) table[c] |= kHexDigit;
  for (int c = 'A'; c <= 'F'; ++c) table[c] |= kHexDigit;
  table['"'] |= kStringStop;
  table['\\'] |= kStringStop;
  return table;
}

constexpr std::array<uint8_t, 256> kClass = MakeClassTable();

bool Is(char c, CharClass cls) { return (kClass[static_cast<uint8_t>(c)] & cls) != 0; }

// =============================================================================================
// Parser state: the cursor, the end of the text, the nesting depth and per-depth scratch.
// =============================================================================================

// A value nested in more containers than this fails the whole parse.
constexpr int kMaxDepth = 48;

// The children of an open container collect in the scratch of its depth, which keeps its
// capacity from one container to the next; the container then receives them in one exactly
// sized block instead of growing its own vectors step by step.
struct Scratch {
  std::vector<Value> values;
  std::vector<std::string> keys;
};

struct Parser {
  const char* cursor;
  const char* end;
  int depth = 0;
  std::vector<Scratch> scratch = std::vector<Scratch>(kMaxDepth + 2);  // by depth 1..49

  bool AtEnd() const { return cursor == end; }
  void SkipSpace() {
    while (cursor != end && Is(*cursor, kSpace)) ++cursor;
  }
};

template <typename T>
void MoveInto(std::vector<T>& from, std::vector<T>* to) {
  to->assign(std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
  from.clear();
}

bool ParseValue(Parser& p, Value* out);

// =============================================================================================
// Strings: runs of plain bytes are appended whole; escapes are decoded one at a time.
// =============================================================================================

int HexDigitValue(char c) {
  if (c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

// Writes a code point of the Basic Multilingual Plane as UTF-8; surrogate halves (never
// combined) become U+FFFD each.
void AppendCodePoint(uint32_t code, std::string* out) {
  if (code >= 0xD800 && code < 0xE000) code = 0xFFFD;
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    const char bytes[2] = {static_cast<char>(0xC0 | (code >> 6)),
                           static_cast<char>(0x80 | (code & 0x3F))};
    out->append(bytes, 2);
  } else {
    const char bytes[3] = {static_cast<char>(0xE0 | (code >> 12)),
                           static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                           static_cast<char>(0x80 | (code & 0x3F))};
    out->append(bytes, 3);
  }
}

// Decodes the escape after a backslash (the cursor is on the byte that follows it).
bool ParseEscape(Parser& p, std::string* out) {
  if (p.AtEnd()) return false;
  const char c = *p.cursor++;
  switch (c) {
    case 'b': out->push_back('\b'); return true;
    case 'f': out->push_back('\f'); return true;
    case 'n': out->push_back('\n'); return true;
    case 'r': out->push_back('\r'); return true;
    case 't': out->push_back('\t'); return true;
    case 'u': break;
    default: out->push_back(c); return true;  // '"', '\\', '/' and unknown letters alike
  }
  if (p.end - p.cursor < 4) return false;
  uint32_t code = 0;
  for (int i = 0; i < 4; ++i) {
    const char h = *p.cursor++;
    if (!Is(h, kHexDigit)) return false;
    code = code * 16 + HexDigitValue(h);
  }
  AppendCodePoint(code, out);
  return true;
}

bool ParseString(Parser& p, std::string* out) {
  out->clear();
  if (p.AtEnd() || *p.cursor != '"') return false;
  ++p.cursor;
  for (;;) {
    const char* run = p.cursor;
    while (p.cursor != p.end && !Is(*p.cursor, kStringStop)) ++p.cursor;
    out->append(run, p.cursor - run);
    if (p.AtEnd()) return false;
    if (*p.cursor++ == '"') return true;
    if (!ParseEscape(p, out)) return false;
  }
}

// =============================================================================================
// Numbers: the lenient grammar is scanned here; short plain numbers are computed exactly,
// everything else goes through the "C"-locale conversion.
// =============================================================================================

// Every integer below 10^15 and every power of ten up to 10^22 is exact in a double, so one
// multiplication or division of the two rounds correctly.
constexpr int kFastDigits = 15;
constexpr int kFastExponent = 22;
constexpr double kPowersOfTen[kFastExponent + 1] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Reads decimal digits from the cursor into `value` (the first kFastDigits + 1 are enough).
int ScanDigits(Parser& p, uint64_t* value, int* counted) {
  const char* start = p.cursor;
  for (; p.cursor != p.end && Is(*p.cursor, kDigit); ++p.cursor) {
    if (*counted <= kFastDigits) {
      *value = *value * 10 + static_cast<uint64_t>(*p.cursor - '0');
      ++*counted;
    }
  }
  return static_cast<int>(p.cursor - start);
}

bool ParseNumber(Parser& p, double* out) {
  const char* start = p.cursor;
  const bool negative = *p.cursor == '-';
  if (*p.cursor == '+' || *p.cursor == '-') ++p.cursor;
  uint64_t mantissa = 0;
  int counted = 0;
  const int integerDigits = ScanDigits(p, &mantissa, &counted);
  int fractionDigits = 0;
  if (!p.AtEnd() && *p.cursor == '.') {
    ++p.cursor;
    fractionDigits = ScanDigits(p, &mantissa, &counted);
  }
  if (integerDigits + fractionDigits == 0) return false;

  bool fast = integerDigits + fractionDigits <= kFastDigits;
  int exponent = -fractionDigits;
  if (!p.AtEnd() && (*p.cursor | 0x20) == 'e') {
    ++p.cursor;
    const bool negativeExponent = !p.AtEnd() && *p.cursor == '-';
    if (!p.AtEnd() && (*p.cursor == '+' || *p.cursor == '-')) ++p.cursor;
    uint64_t written = 0;
    int writtenCounted = 0;
    const int exponentDigits = ScanDigits(p, &written, &writtenCounted);
    // "1e" reads as 1 (the conversion ignores an exponent letter without digits); long
    // exponents are left to the conversion as well.
    if (exponentDigits > 0 && exponentDigits <= 2) {
      exponent += negativeExponent ? -static_cast<int>(written) : static_cast<int>(written);
    } else {
      fast = false;
    }
  }
  if (fast && exponent >= -kFastExponent && exponent <= kFastExponent) {
    const double value = static_cast<double>(mantissa);
    const double scaled =
        exponent < 0 ? value / kPowersOfTen[-exponent] : value * kPowersOfTen[exponent];
    *out = negative ? -scaled : scaled;
    return true;
  }
  text::ParseDouble(std::string_view(start, p.cursor - start), out);
  return true;
}

// =============================================================================================
// Containers: arrays and objects, both accepting one trailing comma.
// =============================================================================================

enum class Next { kMore, kClosed, kBroken };

// Runs on the opening byte: kClosed for an empty container (the cursor is then past it).
Next OpenContainer(Parser& p, char close) {
  ++p.cursor;
  p.SkipSpace();
  if (p.AtEnd()) return Next::kBroken;
  if (*p.cursor != close) return Next::kMore;
  ++p.cursor;
  return Next::kClosed;
}

// After a member: a comma continues, the closing byte ends the container, and so does a
// comma followed by it (one trailing comma is accepted).
Next AfterMember(Parser& p, char close) {
  p.SkipSpace();
  if (p.AtEnd()) return Next::kBroken;
  const char c = *p.cursor++;
  if (c == close) return Next::kClosed;
  if (c != ',') return Next::kBroken;
  p.SkipSpace();
  if (p.AtEnd() || *p.cursor != close) return Next::kMore;
  ++p.cursor;
  return Next::kClosed;
}

bool ParseArray(Parser& p, Value* out) {
  out->kind = kArray;
  Next next = OpenContainer(p, ']');
  std::vector<Value>& elements = p.scratch[p.depth].values;
  while (next == Next::kMore) {
    if (!ParseValue(p, &elements.emplace_back())) return false;
    next = AfterMember(p, ']');
  }
  MoveInto(elements, &out->elements);
  return next == Next::kClosed;
}

bool ParseObject(Parser& p, Value* out) {
  out->kind = kObject;
  Next next = OpenContainer(p, '}');
  Scratch& scratch = p.scratch[p.depth];
  while (next == Next::kMore) {
    p.SkipSpace();
    if (!ParseString(p, &scratch.keys.emplace_back())) return false;
    p.SkipSpace();
    if (p.AtEnd() || *p.cursor != ':') return false;
    ++p.cursor;
    if (!ParseValue(p, &scratch.values.emplace_back())) return false;
    next = AfterMember(p, '}');
  }
  MoveInto(scratch.keys, &out->keys);
  MoveInto(scratch.values, &out->members);
  return next == Next::kClosed;
}

// =============================================================================================
// Values: dispatch on the first byte; literals must be spelled out in full.
// =============================================================================================

bool ParseLiteral(Parser& p, std::string_view word) {
  if (static_cast<size_t>(p.end - p.cursor) < word.size()) return false;
  if (std::memcmp(p.cursor, word.data(), word.size()) != 0) return false;
  p.cursor += word.size();
  return true;
}

bool ParseNested(Parser& p, Value* out, bool (*parse)(Parser&, Value*)) {
  ++p.depth;
  const bool ok = parse(p, out);
  --p.depth;
  return ok;
}

bool ParseValue(Parser& p, Value* out) {
  if (p.depth > kMaxDepth) return false;
  p.SkipSpace();
  if (p.AtEnd()) return false;
  switch (*p.cursor) {
    case '{': return ParseNested(p, out, ParseObject);
    case '[': return ParseNested(p, out, ParseArray);
    case '"': out->kind = kString; return ParseString(p, &out->text);
    case 't': out->kind = kBoolean; out->boolean = 1; return ParseLiteral(p, "true");
    case 'f': out->kind = kBoolean; out->boolean = 0; return ParseLiteral(p, "false");
    case 'n': out->kind = kNull; return ParseLiteral(p, "null");
    default: out->kind = kNumber; return ParseNumber(p, &out->number);
  }
}

}  // namespace

bool ParseJson(const char* text, size_t length, Value* out) {
  if (out == nullptr) return false;
  *out = Value{};
  if (text == nullptr || length < 1) return false;
  // An allocation failure is not malformed input: it reaches the caller as std::bad_alloc.
  Parser parser{text, text + length};
  const bool ok = ParseValue(parser, out);
  if (!ok) *out = Value{};
  return ok;
}

}  // namespace json
