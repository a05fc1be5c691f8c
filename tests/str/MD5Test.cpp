#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "system/MD5.h"

namespace {

using s::system::MD5;

std::string hexOf(const MD5::Digest& digest) {
  char16_t hex[32];
  MD5::toHex(digest, false, hex);
  return std::string(hex, hex + 32);
}

struct Vector {
  const char* message;
  const char* digest;
};

// The test suite of RFC 1321, appendix A.5.
const Vector kRfcVectors[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(MD5, RfcTestSuite) {
  for (const Vector& v : kRfcVectors) {
    EXPECT_EQ(hexOf(MD5::of(v.message, std::strlen(v.message))), v.digest)
        << '"' << v.message << '"';
  }
}

TEST(MD5, FeedingInPiecesGivesTheSameDigest) {
  // Every split of the longest vector, around the 64-byte block edges too.
  const Vector& v = kRfcVectors[6];
  const std::size_t n = std::strlen(v.message);
  for (std::size_t split = 0; split <= n; ++split) {
    MD5 md5;
    md5.update(v.message, split);
    md5.update(v.message + split, n - split);
    ASSERT_EQ(hexOf(md5.finish()), v.digest) << "split at " << split;
  }
  // Lengths around the padding boundary (55, 56, 63, 64 bytes) against the
  // one-shot digest fed byte by byte.
  const std::string block(130, 'x');
  for (std::size_t length : {55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u}) {
    MD5 md5;
    for (std::size_t i = 0; i < length; ++i) md5.update(block.data() + i, 1);
    EXPECT_EQ(hexOf(md5.finish()), hexOf(MD5::of(block.data(), length))) << length;
  }
  MD5 reused;
  reused.update("junk", 4);
  reused.finish();
  EXPECT_EQ(hexOf(reused.finish()), kRfcVectors[0].digest);  // finish restarts
}

TEST(MD5, UpperCaseHex) {
  char16_t hex[32];
  MD5::toHex(MD5::of("a", 1), true, hex);
  EXPECT_EQ(std::u16string(hex, 32), u"0CC175B9C0F1B6A831C399E269772661");
}

}  // namespace
