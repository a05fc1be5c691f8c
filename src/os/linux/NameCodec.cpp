#include "os/linux/NameCodec.h"

#include <cstdint>

#include "os/linux/CodeUnits.h"

namespace s::os::linux_fs {

namespace {

constexpr char32_t kEscapeBase = 0xDC00;

// Length of the well-formed UTF-8 sequence at `i` and its code point, or 0
// when the bytes there are not one (overlong forms and surrogates included).
std::size_t decodeOne(std::string_view s, std::size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

std::u16string NameCodec::decode(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const std::size_t len = decodeOne(bytes, i, cp);
    if (len == 0) {
      out.push_back(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i])));
      ++i;
    } else {
      CodeUnits::appendUtf16(out, cp);
      i += len;
    }
  }
  return out;
}

bool NameCodec::encode(std::u16string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == 0) return false;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      const char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                          (static_cast<char32_t>(text[i + 1]) - 0xDC00);
      CodeUnits::appendUtf8(out, cp);
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      if (c < 0xDC80 || c > 0xDCFF) return false;
      out.push_back(static_cast<char>(c - kEscapeBase));
    } else {
      CodeUnits::appendUtf8(out, c);
    }
  }
  return true;
}

}  // namespace s::os::linux_fs
