// The program icon compiled into the program: one whole PNG of each size it offers, and
// nothing for the sizes it lacks.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "app/ProgramIcon.h"

namespace {

std::uint32_t bigEndian32(std::span<const unsigned char> bytes, std::size_t at) {
  return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
         std::uint32_t{bytes[at + 2]} << 8 | std::uint32_t{bytes[at + 3]};
}

// CRC-32 as PNG chunks carry it (reflected polynomial 0xEDB88320), bit by bit.
std::uint32_t crc32(std::span<const unsigned char> bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
  }
  return crc ^ 0xFFFFFFFFu;
}

TEST(ProgramIcon, EachSizeIsOneWholePngOfThatSize) {
  const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (int pixels : {16, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(pixels);
    std::span<const unsigned char> png = s::app::programIconPng(pixels);
    ASSERT_GE(png.size(), 8u + 25u + 12u);
    EXPECT_TRUE(std::equal(signature, signature + 8, png.begin()));

    // IHDR comes first: width, height, 8 bits a sample, colour type 6 (RGBA).
    ASSERT_EQ(bigEndian32(png, 8), 13u);
    std::span<const unsigned char> header = png.subspan(12, 4 + 13);
    EXPECT_EQ(std::string(header.begin(), header.begin() + 4), "IHDR");
    EXPECT_EQ(bigEndian32(png, 16), static_cast<std::uint32_t>(pixels));
    EXPECT_EQ(bigEndian32(png, 20), static_cast<std::uint32_t>(pixels));
    EXPECT_EQ(png[24], 8);
    EXPECT_EQ(png[25], 6);
    EXPECT_EQ(bigEndian32(png, 12 + 4 + 13), crc32(header));

    // The chunks end with IEND exactly at the end of the bytes: nothing cut off or added.
    std::size_t at = 8;
    std::string type;
    while (at + 12 <= png.size() && type != "IEND") {
      type.assign(png.begin() + at + 4, png.begin() + at + 8);
      at += 12 + bigEndian32(png, at);
    }
    EXPECT_EQ(type, "IEND");
    EXPECT_EQ(at, png.size());
  }
}

TEST(ProgramIcon, SizesItLacksGiveNothing) {
  for (int pixels : {0, -16, 24, 512}) {
    SCOPED_TRACE(pixels);
    EXPECT_TRUE(s::app::programIconPng(pixels).empty());
  }
}

}  // namespace
