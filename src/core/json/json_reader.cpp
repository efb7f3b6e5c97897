// The lenient JSON reader: one pass over the bytes with an explicit stack of open containers.
// Strings and keys stay where they are in the text unless they hold escapes; numbers are read
// eight digits at a time. Every allocation can fail without throwing, and is told apart from
// a malformed text.
#include "json/json_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "json/json_number.h"

namespace json::detail {
namespace {

// A value nested in more containers than this fails the whole parse.
constexpr int kMaxDepth = 48;
// The slot array's first size: one slot per this many bytes of text (see json_document.h).
constexpr size_t kBytesPerSlotEstimate = 12;
constexpr size_t kMinStackSlots = 256;
constexpr size_t kMinArenaBytes = 256;

// ---- Bytes ----------------------------------------------------------------------------------
// Character classes, the eight-byte string scan and UTF-8 output for decoded escapes.

bool IsSpace(char c) {
  constexpr uint64_t kSpaces = (1ULL << ' ') | (1ULL << '\t') | (1ULL << '\n') | (1ULL << '\r');
  const auto byte = static_cast<unsigned char>(c);
  return byte <= ' ' && ((kSpaces >> byte) & 1) != 0;
}

// The first '"' or '\\' at or after `p`, or `end`. Eight bytes at a time: a byte equal to the
// one searched for becomes zero after the exclusive or, and the lowest flagged zero is exact.
ORDINEL_JSON_INLINE const char* FindStringStop(const char* p, const char* end) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr uint64_t kOnes = kEachByte(0x01);
    constexpr uint64_t kHighBits = kEachByte(0x80);
    while (end - p >= 8) {
      uint64_t chunk;
      std::memcpy(&chunk, p, sizeof chunk);
      const uint64_t quote = chunk ^ kEachByte('"');
      const uint64_t backslash = chunk ^ kEachByte('\\');
      const uint64_t hits = (((quote - kOnes) & ~quote) | ((backslash - kOnes) & ~backslash)) & kHighBits;
      if (hits != 0) return p + std::countr_zero(hits) / 8;
      p += 8;
    }
  }
  while (p != end && *p != '"' && *p != '\\') ++p;
  return p;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char lower = static_cast<char>(c | 0x20);
  if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
  return -1;
}

// Writes a code point of the Basic Multilingual Plane as UTF-8 and returns its length;
// surrogate halves (never combined) become U+FFFD each.
size_t EncodeCodePoint(uint32_t code, char* out) {
  if (code >= 0xD800 && code < 0xE000) code = 0xFFFD;
  if (code < 0x80) {
    out[0] = static_cast<char>(code);
    return 1;
  }
  if (code < 0x800) {
    out[0] = static_cast<char>(0xC0 | (code >> 6));
    out[1] = static_cast<char>(0x80 | (code & 0x3F));
    return 2;
  }
  out[0] = static_cast<char>(0xE0 | (code >> 12));
  out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  out[2] = static_cast<char>(0x80 | (code & 0x3F));
  return 3;
}

// ---- The reader -----------------------------------------------------------------------------
// One pass over the text with the cursor and the buffers it fills; the sections below.

// Where a string's bytes are: in the text or in the arena.
struct StringSpan {
  uint32_t offset = 0;
  uint32_t length = 0;
  bool inArena = false;
};

// An open container: the stack index of its own slot and the byte that closes it.
struct OpenContainer {
  uint32_t slot;
  char close;
};

class Reader {
 public:
  Reader(std::string_view text, TreeBuffers* buffers)
      : begin_(text.data()), p_(text.data()), end_(text.data() + text.size()), buffers_(*buffers) {}

  ParseResult Run(Slot* root) {
    if (!Prepare()) return ParseResult::kOutOfMemory;
    if (!ReadDocument()) return outOfMemory_ ? ParseResult::kOutOfMemory : ParseResult::kMalformed;
    *root = stack_[0];
    return ParseResult::kParsed;
  }

 private:
  // ---- Buffers ------------------------------------------------------------------------------
  // The stack of slots being read, the slot array they move to and the arena for decoded
  // strings, each grown ahead of need; a failed allocation ends the parse as out of memory.

  bool Prepare() {
    const size_t length = static_cast<size_t>(end_ - begin_);
    const size_t estimate = std::min(MaxSlots(), length / kBytesPerSlotEstimate + 64);
    if (buffers_.nodes.capacity() < estimate && !buffers_.Reallocate(&buffers_.nodes, 0, estimate)) {
      return false;
    }
    if (buffers_.stack.capacity() < kMinStackSlots &&
        !buffers_.Reallocate(&buffers_.stack, 0, kMinStackSlots)) {
      return false;
    }
    stack_ = buffers_.stack.data();
    stackCapacity_ = buffers_.stack.capacity();
    return true;
  }

  // No text has more values than one per two bytes.
  size_t MaxSlots() const { return static_cast<size_t>(end_ - begin_) / 2 + 2; }

  bool Fail() {
    outOfMemory_ = true;
    return false;
  }

  Slot* Push() {
    if (top_ == stackCapacity_) {
      if (!buffers_.Reallocate(&buffers_.stack, top_, stackCapacity_ * 2)) return nullptr;
      stack_ = buffers_.stack.data();
      stackCapacity_ = buffers_.stack.capacity();
    }
    return &stack_[top_++];
  }

  // Makes room for `needed` slots, predicting the whole text from the part read so far.
  bool GrowNodes(size_t needed) {
    const size_t capacity = buffers_.nodes.capacity();
    const size_t length = static_cast<size_t>(end_ - begin_);
    const size_t read = std::max<size_t>(1, static_cast<size_t>(p_ - begin_));
    size_t predicted = needed + needed * (length - std::min(length, read)) / read;
    predicted += predicted / 8;
    const size_t grown = std::max(predicted, capacity + capacity / 4);
    const size_t target = std::max(needed, std::min(MaxSlots(), grown));
    return buffers_.Reallocate(&buffers_.nodes, nodesUsed_, target);
  }

  bool ReserveArena(size_t count) {
    const size_t capacity = buffers_.arena.capacity();
    if (count <= capacity - arenaUsed_) return true;
    const size_t target = std::max({kMinArenaBytes, capacity * 2, arenaUsed_ + count});
    return buffers_.Reallocate(&buffers_.arena, arenaUsed_, target) || Fail();
  }

  bool AppendToArena(const char* bytes, size_t count) {
    if (!ReserveArena(count)) return false;
    if (count > 0) std::memcpy(buffers_.arena.data() + arenaUsed_, bytes, count);
    arenaUsed_ += count;
    return true;
  }

  // ---- Structure ----------------------------------------------------------------------------
  // Values, containers opened and closed on the stack, separators and the one trailing comma.

  void SkipSpace() {
    while (p_ != end_ && IsSpace(*p_)) ++p_;
  }

  // Reads values until the first one is complete.
  bool ReadDocument() {
    for (;;) {
      bool opened = false;
      if (!ReadValue(&opened)) return false;
      if (opened) continue;  // a container whose first member comes next
      if (!FinishValue()) return false;
      if (depth_ == 0) return true;
    }
  }

  // After a complete value: closes every container that ends here. True with depth_ 0 when
  // the first value is complete, or with the next member's key read when one follows.
  bool FinishValue() {
    while (depth_ > 0) {
      const OpenContainer& open = open_[depth_ - 1];
      SkipSpace();
      if (p_ == end_) return false;
      const char c = *p_++;
      if (c == open.close) {
        if (!Close()) return false;
        continue;
      }
      if (c != ',') return false;
      SkipSpace();
      if (p_ != end_ && *p_ == open.close) {  // one trailing comma is accepted
        ++p_;
        if (!Close()) return false;
        continue;
      }
      return open.close == ']' || ReadKey();
    }
    return true;
  }

  bool ReadValue(bool* opened) {
    if (depth_ > kMaxDepth) return false;
    SkipSpace();
    if (p_ == end_) return false;
    Slot* slot = Push();
    if (slot == nullptr) return Fail();
    slot->tag = nextKeyTag_;
    slot->keyOffset = nextKeyOffset_;
    slot->payload = 0;
    nextKeyTag_ = 0;
    nextKeyOffset_ = 0;
    switch (*p_) {
      case '{': return Open(slot, kObject, '}', opened);
      case '[': return Open(slot, kArray, ']', opened);
      case '"': return ReadStringValue(slot);
      case 't':
        slot->tag |= kBoolean;
        slot->payload = 1;
        return ReadLiteral("true");
      case 'f': slot->tag |= kBoolean; return ReadLiteral("false");
      case 'n': return ReadLiteral("null");
      default: return ReadNumberValue(slot);
    }
  }

  bool Open(Slot* slot, Kind kind, char close, bool* opened) {
    slot->tag |= kind;
    open_[depth_++] = {static_cast<uint32_t>(top_ - 1), close};
    ++p_;
    SkipSpace();
    if (p_ == end_) return false;
    if (*p_ == close) {
      ++p_;
      return Close();
    }
    *opened = true;
    return kind == kArray || ReadKey();
  }

  // Moves the children of the innermost open container side by side into the slot array.
  bool Close() {
    const uint32_t at = open_[--depth_].slot;
    const size_t count = top_ - at - 1;
    if (count > buffers_.nodes.capacity() - nodesUsed_ && !GrowNodes(nodesUsed_ + count)) {
      return Fail();
    }
    if (count > 0) {
      std::memcpy(buffers_.nodes.data() + nodesUsed_, stack_ + at + 1, count * sizeof(Slot));
    }
    stack_[at].payload = nodesUsed_ | (static_cast<uint64_t>(count) << 32);
    nodesUsed_ += count;
    top_ = at + 1;
    return true;
  }

  // ---- Scalars ------------------------------------------------------------------------------
  // Literals, numbers, strings and keys: the bytes of one value at the cursor.

  bool ReadLiteral(std::string_view word) {
    if (static_cast<size_t>(end_ - p_) < word.size()) return false;
    if (std::memcmp(p_, word.data(), word.size()) != 0) return false;
    p_ += word.size();
    return true;
  }

  bool ReadNumberValue(Slot* slot) {
    const NumberRead number = ReadNumber(p_, end_);
    if (number.end == nullptr) return false;
    p_ = number.end;
    slot->tag |= kNumber;
    slot->payload = std::bit_cast<uint64_t>(number.value);
    return true;
  }

  bool ReadStringValue(Slot* slot) {
    StringSpan span;
    if (!ReadString(&span)) return false;
    slot->tag |= kString | (span.inArena ? kTextInArena : 0);
    slot->payload = span.offset | (static_cast<uint64_t>(span.length) << 32);
    return true;
  }

  // Reads a member's key and its colon; the key goes into the next value's slot.
  ORDINEL_JSON_INLINE bool ReadKey() {
    SkipSpace();
    if (p_ == end_ || *p_ != '"') return false;
    StringSpan span;
    if (!ReadString(&span)) return false;
    if (span.length > kMaxInlineKeyLength) {
      if (!MoveLongKey(&span)) return false;
      nextKeyTag_ = kKeyInArena | kLongKey;
    } else {
      nextKeyTag_ = (span.inArena ? kKeyInArena : 0) | (span.length << kKeyLengthShift);
    }
    nextKeyOffset_ = span.offset;
    SkipSpace();
    if (p_ == end_ || *p_ != ':') return false;
    ++p_;
    return true;
  }

  // A key too long for its slot is copied to the arena behind its 4-byte length.
  bool MoveLongKey(StringSpan* span) {
    const size_t at = arenaUsed_;
    if (!ReserveArena(sizeof span->length + span->length)) return false;
    char* arena = buffers_.arena.data();
    const char* from = (span->inArena ? arena : begin_) + span->offset;  // before `at`
    std::memcpy(arena + at, &span->length, sizeof span->length);
    std::memcpy(arena + at + sizeof span->length, from, span->length);
    arenaUsed_ += sizeof span->length + span->length;
    span->offset = static_cast<uint32_t>(at);
    span->inArena = true;
    return true;
  }

  // Reads the string at the cursor (on its opening quote). Without escapes it stays in the
  // text; otherwise it is decoded into the arena.
  ORDINEL_JSON_INLINE bool ReadString(StringSpan* span) {
    const char* start = ++p_;
    p_ = FindStringStop(p_, end_);
    if (p_ == end_) return false;
    if (*p_ == '"') {
      *span = {static_cast<uint32_t>(start - begin_), static_cast<uint32_t>(p_ - start), false};
      ++p_;
      return true;
    }
    return DecodeString(start, span);
  }

  // Continues a string at its first backslash: runs of plain bytes are appended whole,
  // escapes one at a time.
  bool DecodeString(const char* run, StringSpan* span) {
    const size_t first = arenaUsed_;
    for (;;) {
      if (!AppendToArena(run, static_cast<size_t>(p_ - run))) return false;
      if (p_ == end_) return false;
      if (*p_++ == '"') break;
      if (!DecodeEscape()) return false;
      run = p_;
      p_ = FindStringStop(p_, end_);
    }
    *span = {static_cast<uint32_t>(first), static_cast<uint32_t>(arenaUsed_ - first), true};
    return true;
  }

  // Decodes the escape after a backslash (the cursor is on the byte that follows it).
  bool DecodeEscape() {
    if (p_ == end_) return false;
    char decoded[3];
    size_t length = 1;
    switch (const char c = *p_++) {
      case 'b': decoded[0] = '\b'; break;
      case 'f': decoded[0] = '\f'; break;
      case 'n': decoded[0] = '\n'; break;
      case 'r': decoded[0] = '\r'; break;
      case 't': decoded[0] = '\t'; break;
      case 'u': {
        if (end_ - p_ < 4) return false;
        uint32_t code = 0;
        for (int i = 0; i < 4; ++i) {
          const int digit = HexDigitValue(*p_++);
          if (digit < 0) return false;
          code = code * 16 + static_cast<uint32_t>(digit);
        }
        length = EncodeCodePoint(code, decoded);
        break;
      }
      default: decoded[0] = c; break;  // '"', '\\', '/' and unknown letters alike
    }
    return AppendToArena(decoded, length);
  }

  const char* const begin_;
  const char* p_;
  const char* const end_;
  TreeBuffers& buffers_;
  bool outOfMemory_ = false;

  Slot* stack_ = nullptr;  // buffers_.stack's items, cached
  size_t stackCapacity_ = 0;
  size_t top_ = 0;
  size_t nodesUsed_ = 0;
  size_t arenaUsed_ = 0;

  uint32_t nextKeyTag_ = 0;  // the key of the value read next, as it goes into its slot
  uint32_t nextKeyOffset_ = 0;
  OpenContainer open_[kMaxDepth + 1];
  int depth_ = 0;
};

}  // namespace

ParseResult ReadTree(std::string_view text, TreeBuffers* buffers, Slot* root) {
  return Reader(text, buffers).Run(root);
}

}  // namespace json::detail
