#include "store/packed_bytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "text/format.h"

namespace store {
namespace {

TEST(PackedBytes, DecimalsRoundTripBitForBitInFewBytes) {
  struct Case {
    double value;
    size_t bytes;  // what the encoding takes
  };
  const Case cases[] = {
      {0, 1},
      {1, 1},
      {-1, 1},
      {521, 3},
      {521.5, 3},
      {0.1423, 3},
      {12345, 3},
      {0.000001, 1},
      {123456.789, 5},
      {9007199254740992.0, 9},  // 2^53, the largest mantissa kept as a whole number
      {-9007199254740992.0, 9},
      {9007199254740994.0, 9},  // beyond it: the raw double
      {-0.0, 9},                // its sign survives only in the raw double
      {0.1 + 0.2, 9},           // 0.30000000000000004 is no short decimal
      {1e300, 9},
      {5e-324, 9},
      {std::numeric_limits<double>::max(), 9},
  };
  for (const Case& c : cases) {
    const std::string label = text::RoundTripDouble(c.value);
    ByteWriter w;
    w.Decimal(c.value);
    EXPECT_EQ(w.Bytes().size(), c.bytes) << label;
    ByteReader r(w.Bytes(), "blob");
    double back = 7;
    ASSERT_TRUE(r.Decimal(&back)) << label << ": " << r.Error();
    EXPECT_TRUE(r.Finish()) << label;
    EXPECT_EQ(back, c.value) << label;
    EXPECT_EQ(std::signbit(back), std::signbit(c.value)) << label;
  }
}

TEST(PackedBytes, IntegersRoundTripAtTheirEdges) {
  const uint64_t unsignedCases[] = {
      0, 1, 127, 128, 16383, 16384, uint64_t{1} << 63, std::numeric_limits<uint64_t>::max()};
  const int64_t signedCases[] = {
      0, -1, 1, -64, 64, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()};
  ByteWriter w;
  for (const uint64_t v : unsignedCases) w.Varint(v);
  for (const int64_t v : signedCases) w.Signed(v);
  w.F64(-2.5e-7);
  w.F32(-2.5e-7);
  ByteReader r(w.Bytes(), "blob");
  for (const uint64_t v : unsignedCases) {
    uint64_t back = 0;
    EXPECT_TRUE(r.Varint(&back)) << v;
    EXPECT_EQ(back, v);
  }
  for (const int64_t v : signedCases) {
    int64_t back = 0;
    EXPECT_TRUE(r.Signed(&back)) << v;
    EXPECT_EQ(back, v);
  }
  double f = 0;
  EXPECT_TRUE(r.F64(&f));
  EXPECT_EQ(f, -2.5e-7);
  EXPECT_TRUE(r.F32(&f));
  EXPECT_EQ(f, static_cast<double>(-2.5e-7f));
  EXPECT_TRUE(r.Finish()) << r.Error();
}

// Each input is refused with its message, and the read's output keeps its old value.
TEST(PackedBytes, MalformedInputIsRefusedWithWhereItWent) {
  enum Read { kVarint, kDecimal, kF64, kF32, kCount, kFinish };
  struct Case {
    const char* name;
    std::string bytes;
    Read read;
    const char* error;
  };
  const std::string nan("\x00\x00\x00\x00\x00\x00\xf8\x7f", 8);
  const Case cases[] = {
      {"empty", "", kVarint, "blob is corrupt: it ends too early at byte 0"},
      {"unfinished varint", "\x80\x80", kVarint, "blob is corrupt: it ends too early at byte 2"},
      {"eleven-byte varint", std::string(10, '\xff') + "\x01", kVarint,
       "blob is corrupt: a number beyond 64 bits at byte 10"},
      {"65-bit varint", std::string(9, '\xff') + "\x02", kVarint,
       "blob is corrupt: a number beyond 64 bits at byte 10"},
      {"short double", "\x01\x02\x03", kF64, "blob is corrupt: it ends too early at byte 0"},
      {"NaN", nan, kF64, "blob is corrupt: a number that is not finite at byte 0"},
      {"float infinity", std::string("\x00\x00\x80\x7f", 4), kF32,
       "blob is corrupt: a number that is not finite at byte 0"},
      {"short float", "\x01\x02\x03", kF32, "blob is corrupt: it ends too early at byte 0"},
      {"scale 12", "\x0c", kDecimal, "blob is corrupt: an unknown number form at byte 1"},
      {"raw NaN", "\x0f" + nan, kDecimal, "blob is corrupt: a number that is not finite at byte 1"},
      {"mantissa past 2^53", "\x80\x80\x80\x80\x80\x80\x80\x80\x20", kDecimal,
       "blob is corrupt: a number out of range at byte 9"},
      {"count beyond the bytes", "\x05\x00\x00", kCount,
       "blob is corrupt: a count larger than the bytes that follow at byte 1"},
      {"trailing byte", std::string(1, '\0'), kFinish, "blob is corrupt: trailing bytes at byte 0"},
  };
  for (const Case& c : cases) {
    ByteReader r(c.bytes, "blob");
    uint64_t u = 99;
    double d = 99;
    size_t n = 99;
    bool ok = true;
    switch (c.read) {
      case kVarint: ok = r.Varint(&u); break;
      case kDecimal: ok = r.Decimal(&d); break;
      case kF64: ok = r.F64(&d); break;
      case kF32: ok = r.F32(&d); break;
      case kCount: ok = r.Count(1, &n); break;
      case kFinish: ok = r.Finish(); break;
    }
    EXPECT_FALSE(ok) << c.name;
    EXPECT_EQ(r.Error(), c.error) << c.name;
    EXPECT_EQ(u, 99u) << c.name;
    EXPECT_EQ(d, 99) << c.name;
    EXPECT_EQ(n, 99u) << c.name;
    uint8_t byte = 0;
    EXPECT_FALSE(r.U8(&byte)) << c.name << ": a failed reader stays failed";
  }
}

}  // namespace
}  // namespace store
