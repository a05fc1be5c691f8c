#include "Sha256.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace vonq::engine_test {

namespace {

constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::uint32_t rotr(std::uint32_t x, int n) {
  return (x >> n) | (x << (32 - n));
}

class Hasher {
 public:
  void add(const std::uint8_t* data, std::size_t n) {
    total_ += n;
    while (n > 0) {
      const std::size_t take = std::min(n, sizeof block_ - used_);
      std::memcpy(block_ + used_, data, take);
      used_ += take;
      data += take;
      n -= take;
      if (used_ == sizeof block_) {
        compress();
        used_ = 0;
      }
    }
  }

  std::string finish() {
    const std::uint64_t bits = total_ * 8;
    const std::uint8_t one = 0x80;
    add(&one, 1);
    const std::uint8_t zero = 0;
    while (used_ != 56) add(&zero, 1);
    for (int i = 7; i >= 0; --i) {
      const auto byte = static_cast<std::uint8_t>(bits >> (i * 8));
      add(&byte, 1);
    }
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (std::uint32_t word : h_) {
      for (int i = 28; i >= 0; i -= 4) out += hex[(word >> i) & 0xF];
    }
    return out;
  }

 private:
  void compress() {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i) {
      w[i] = (std::uint32_t{block_[4 * i]} << 24) | (std::uint32_t{block_[4 * i + 1]} << 16) |
             (std::uint32_t{block_[4 * i + 2]} << 8) | block_[4 * i + 3];
    }
    for (int i = 16; i < 64; ++i) {
      const std::uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
      const std::uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
      w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::array<std::uint32_t, 8> v = h_;
    for (int i = 0; i < 64; ++i) {
      const std::uint32_t s1 = rotr(v[4], 6) ^ rotr(v[4], 11) ^ rotr(v[4], 25);
      const std::uint32_t ch = (v[4] & v[5]) ^ (~v[4] & v[6]);
      const std::uint32_t t1 = v[7] + s1 + ch + kRound[i] + w[i];
      const std::uint32_t s0 = rotr(v[0], 2) ^ rotr(v[0], 13) ^ rotr(v[0], 22);
      const std::uint32_t maj = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
      const std::uint32_t t2 = s0 + maj;
      for (int k = 7; k > 0; --k) v[k] = v[k - 1];
      v[4] += t1;
      v[0] = t1 + t2;
    }
    for (int i = 0; i < 8; ++i) h_[i] += v[i];
  }

  std::array<std::uint32_t, 8> h_ = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                     0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::uint8_t block_[64] = {};
  std::size_t used_ = 0;
  std::uint64_t total_ = 0;
};

}  // namespace

std::string sha256(const std::string& data) {
  Hasher hasher;
  hasher.add(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
  return hasher.finish();
}

std::string sha256OfFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOATIME);
  if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return {};
  Hasher hasher;
  std::uint8_t buffer[65536];
  ssize_t n = 0;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
    hasher.add(buffer, static_cast<std::size_t>(n));
  ::close(fd);
  return n < 0 ? std::string() : hasher.finish();
}

}  // namespace vonq::engine_test
