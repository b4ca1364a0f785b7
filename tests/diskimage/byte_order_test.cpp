#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "diskimage/diskimage.h"

namespace {

struct Le32Case {
  std::array<std::uint8_t, 4> bytes;
  std::int32_t value;
};

TEST(ByteOrder, ReadLe32AssemblesLowByteFirstAsSigned) {
  const Le32Case cases[] = {
      {{0x78, 0x56, 0x34, 0x12}, 0x12345678}, {{0xB0, 0x02, 0x00, 0x00}, 688},
      {{0xFF, 0xFF, 0xFF, 0x7F}, 0x7FFFFFFF}, {{0x00, 0x00, 0x00, 0x80}, INT32_MIN},
      {{0xFF, 0xFF, 0xFF, 0xFF}, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(readLe32(c.bytes), c.value) << c.value;
}

TEST(ByteOrder, ReadLe16AssemblesLowByteFirstWithoutSign) {
  EXPECT_EQ(readLe16(std::array<std::uint8_t, 2>{0x34, 0x12}), 0x1234);
  EXPECT_EQ(readLe16(std::array<std::uint8_t, 2>{0x00, 0x01}), 256);
  EXPECT_EQ(readLe16(std::array<std::uint8_t, 2>{0xFF, 0xFF}), 65535);
}

}  // namespace
