#include "store/packed_bytes.h"

#include <cmath>
#include <cstring>

#include "text/format.h"

namespace store {
namespace {

constexpr int kMaxScale = 9;
constexpr uint64_t kRawMarker = 15;
constexpr int64_t kMaxMantissa = int64_t{1} << 53;
constexpr double kPowersOfTen[kMaxScale + 1] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

uint64_t BitsOf(double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

double DoubleOf(uint64_t bits) {
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

uint64_t ZigZag(int64_t value) {
  return (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63);
}

int64_t UnZigZag(uint64_t value) {
  return static_cast<int64_t>(value >> 1) ^ -static_cast<int64_t>(value & 1);
}

// The smallest scale at which `value` is a whole number of 10^-scale that reads back exactly:
// the division of an exact integer by an exact power of ten is correctly rounded, so a value
// that came from a decimal text of at most nine places is found here.
bool DecimalForm(double value, int64_t* mantissa, int* scale) {
  if (value == 0 && std::signbit(value)) return false;
  for (int s = 0; s <= kMaxScale; ++s) {
    const double scaled = value * kPowersOfTen[s];
    if (!(std::fabs(scaled) <= static_cast<double>(kMaxMantissa))) return false;
    const int64_t m = std::llround(scaled);
    if (static_cast<double>(m) / kPowersOfTen[s] == value) {
      *mantissa = m;
      *scale = s;
      return true;
    }
  }
  return false;
}

}  // namespace

void ByteWriter::Varint(uint64_t value) {
  while (value >= 0x80) {
    U8(static_cast<uint8_t>(value | 0x80));
    value >>= 7;
  }
  U8(static_cast<uint8_t>(value));
}

void ByteWriter::Signed(int64_t value) { Varint(ZigZag(value)); }

void ByteWriter::F64(double value) {
  const uint64_t bits = BitsOf(value);
  for (int i = 0; i < 8; ++i) U8(static_cast<uint8_t>(bits >> (8 * i)));
}

void ByteWriter::F32(double value) {
  const float narrow = static_cast<float>(value);
  uint32_t bits = 0;
  std::memcpy(&bits, &narrow, sizeof bits);
  for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(bits >> (8 * i)));
}

void ByteWriter::Decimal(double value) {
  int64_t mantissa = 0;
  int scale = 0;
  if (DecimalForm(value, &mantissa, &scale)) {
    Varint(ZigZag(mantissa) << 4 | static_cast<uint64_t>(scale));
    return;
  }
  Varint(kRawMarker);
  F64(value);
}

bool ByteReader::Corrupt(std::string_view reason) {
  if (error_.empty()) {
    error_ = text::Format("%s is corrupt: %s at byte %d", what_, reason, static_cast<long long>(pos_));
  }
  pos_ = bytes_.size();
  return false;
}

bool ByteReader::Truncated() { return Corrupt("it ends too early"); }

bool ByteReader::U8(uint8_t* out) {
  if (!error_.empty()) return false;
  if (pos_ >= bytes_.size()) return Truncated();
  *out = static_cast<uint8_t>(bytes_[pos_++]);
  return true;
}

bool ByteReader::Varint(uint64_t* out) {
  uint64_t value = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    uint8_t byte = 0;
    if (!U8(&byte)) return false;
    const uint64_t bits = byte & 0x7f;
    if (shift == 63 && bits > 1) return Corrupt("a number beyond 64 bits");
    value |= bits << shift;
    if ((byte & 0x80) == 0) {
      *out = value;
      return true;
    }
  }
  return Corrupt("a number longer than ten bytes");
}

bool ByteReader::Signed(int64_t* out) {
  uint64_t raw = 0;
  if (!Varint(&raw)) return false;
  *out = UnZigZag(raw);
  return true;
}

bool ByteReader::F64(double* out) {
  if (!error_.empty()) return false;
  if (Remaining() < 8) return Truncated();
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i)
    bits |= static_cast<uint64_t>(static_cast<uint8_t>(bytes_[pos_ + i])) << (8 * i);
  const double value = DoubleOf(bits);
  if (!std::isfinite(value)) return Corrupt("a number that is not finite");
  pos_ += 8;
  *out = value;
  return true;
}

bool ByteReader::F32(double* out) {
  if (!error_.empty()) return false;
  if (Remaining() < 4) return Truncated();
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i)
    bits |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[pos_ + i])) << (8 * i);
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  if (!std::isfinite(value)) return Corrupt("a number that is not finite");
  pos_ += 4;
  *out = value;
  return true;
}

bool ByteReader::Decimal(double* out) {
  uint64_t code = 0;
  if (!Varint(&code)) return false;
  const uint64_t scale = code & 15;
  if (scale == kRawMarker) return F64(out);
  if (scale > kMaxScale) return Corrupt("an unknown number form");
  const int64_t mantissa = UnZigZag(code >> 4);
  if (mantissa > kMaxMantissa || mantissa < -kMaxMantissa) return Corrupt("a number out of range");
  *out = static_cast<double>(mantissa) / kPowersOfTen[scale];
  return true;
}

bool ByteReader::Count(size_t minBytesEach, size_t* out) {
  uint64_t count = 0;
  if (!Varint(&count)) return false;
  if (count > Remaining() / (minBytesEach == 0 ? 1 : minBytesEach)) {
    return Corrupt("a count larger than the bytes that follow");
  }
  *out = static_cast<size_t>(count);
  return true;
}

bool ByteReader::Finish() {
  if (!error_.empty()) return false;
  return pos_ == bytes_.size() || Corrupt("trailing bytes");
}

}  // namespace store
