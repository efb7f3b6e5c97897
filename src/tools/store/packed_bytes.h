// The little-endian byte encoding the stored blobs are made of: bytes, unsigned and zigzag
// varints, raw doubles and floats, and "decimal" numbers that keep a value such as 521.5 or 0.1423 in a
// few bytes and any other double bit for bit. Reading never goes past the end of its input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace store {

// Appends encoded values to a byte string.
class ByteWriter {
 public:
  void U8(uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
  // Seven bits a byte, lowest first, the high bit set on every byte but the last.
  void Varint(uint64_t value);
  // `value` zigzag-mapped (0, -1, 1, -2 ... to 0, 1, 2, 3 ...) and written as a varint.
  void Signed(int64_t value);
  // The eight bytes of the IEEE 754 double, least significant first.
  void F64(double value);
  // `value` rounded to the nearest single-precision float, its four bytes least significant
  // first. Requires: the rounded value is finite.
  void F32(double value);
  // A varint (mantissa << 4 | scale) for a value that equals mantissa / 10^scale exactly with
  // scale 0-9 and |mantissa| <= 2^53, else the marker 15 and the raw double (-0 included).
  // Requires: `value` is finite.
  void Decimal(double value);

  const std::string& Bytes() const { return bytes_; }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

// Reads what ByteWriter wrote. After the first failure every read fails and Error() says what
// and at which byte; the output of a failed read is left alone.
class ByteReader {
 public:
  // `what` names the blob in messages ("the contracts blob").
  ByteReader(std::string_view bytes, std::string what) : bytes_(bytes), what_(std::move(what)) {}

  bool U8(uint8_t* out);
  // False for a varint longer than ten bytes or beyond 64 bits.
  bool Varint(uint64_t* out);
  bool Signed(int64_t* out);
  // False for a NaN or an infinity, which no writer stores.
  bool F64(double* out);
  bool F32(double* out);
  // False for a scale of 10-14, a mantissa beyond 2^53 or a raw double that is not finite.
  bool Decimal(double* out);
  // Reads a count that the remaining bytes can hold at `minBytesEach` bytes per element, so
  // that a corrupt count never leads to a huge allocation.
  bool Count(size_t minBytesEach, size_t* out);

  // Fails with "<what> is corrupt: <reason> at byte N".
  bool Corrupt(std::string_view reason);
  // True when every byte was read; else fails as corrupt ("trailing bytes").
  bool Finish();

  size_t Remaining() const { return bytes_.size() - pos_; }
  const std::string& Error() const { return error_; }

 private:
  bool Truncated();

  std::string_view bytes_;
  std::string what_;
  size_t pos_ = 0;
  std::string error_;
};

}  // namespace store
