#include "cli/Console.h"

#include <unistd.h>

namespace s::cli {

namespace {

// Length of the valid UTF-8 sequence at `i` and its code point; 0 when the
// bytes there are not one.
std::size_t utf8At(std::string_view b, std::size_t i, char32_t& cp) {
  const auto c = static_cast<unsigned char>(b[i]);
  std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (n == 0 || i + n > b.size()) return 0;
  cp = n == 1 ? c : c & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    const auto d = static_cast<unsigned char>(b[i + k]);
    if ((d & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (d & 0x3F);
  }
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::u16string Console::fromBytes(std::string_view bytes) {
  std::u16string out;
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const std::size_t n = utf8At(bytes, i, cp);
    if (n == 0) {
      out += static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[i]));
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += n;
  }
  return out;
}

std::string Console::toBytes(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (text[++i] - 0xDC00));
    } else if (u >= 0xDC80 && u <= 0xDCFF) {
      out += static_cast<char>(u - 0xDC00);
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      out += '?';
    } else {
      appendUtf8(out, u);
    }
  }
  return out;
}

bool Console::isTerminal(std::FILE* stream) {
  return ::isatty(::fileno(stream)) != 0;
}

std::string Console::printable(std::u16string_view text, std::size_t columns) {
  std::string out = toBytes(text);
  for (char& c : out) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) c = '?';
  }
  if (columns > 3 && out.size() > columns) out = "..." + out.substr(out.size() - (columns - 3));
  return out;
}

}  // namespace s::cli
