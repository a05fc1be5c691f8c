#include <windows.h>

#include <algorithm>

#include "os/CodePage.h"

namespace s::os {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::size_t kLongestText = 0x7FFFFFFF;

// UTF-16 in either byte order, which MultiByteToWideChar does not offer: a
// lone last byte is an incomplete unit and becomes U+FFFD.
void decodeUtf16(std::string_view bytes, bool bigEndian, std::u16string& out) {
  const std::size_t whole = bytes.size() / 2 * 2;
  for (std::size_t i = 0; i < whole; i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    out += static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  if (whole != bytes.size()) out += kReplacement;
}

void encodeUtf16(std::u16string_view text, bool bigEndian, std::string& out) {
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
}

// The second byte a UTF-8 lead byte allows (the others are 0x80..0xBF), and
// how many bytes follow it; 0 for a byte that cannot lead.
int followersOf(unsigned char lead, unsigned char& low, unsigned char& high) {
  low = 0x80;
  high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no encoded surrogates
    return 2;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    return 3;
  }
  return 0;
}

void appendCodePoint(char32_t c, std::u16string& out) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
    return;
  }
  out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
  out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
}

// UTF-8 decoded here rather than by MultiByteToWideChar, whose replacement
// of invalid input differs between Windows versions (and Wine): every
// maximal invalid sequence becomes one U+FFFD.
void decodeUtf8(std::string_view bytes, std::u16string& out) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i++]);
    if (lead < 0x80) {
      out += static_cast<char16_t>(lead);
      continue;
    }
    unsigned char low = 0, high = 0;
    const int followers = followersOf(lead, low, high);
    char32_t c = lead & (0x3F >> followers);
    int taken = 0;
    for (; taken < followers && i < bytes.size(); ++taken) {
      const auto next = static_cast<unsigned char>(bytes[i]);
      if (next < (taken == 0 ? low : 0x80) || next > (taken == 0 ? high : 0xBF)) break;
      c = c << 6 | (next & 0x3F);
      ++i;
    }
    if (followers == 0 || taken < followers) {
      out += kReplacement;
    } else {
      appendCodePoint(c, out);
    }
  }
}

void encodeUtf8(std::u16string_view text, std::string& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    const int extra = c < 0x800 ? 1 : (c < 0x10000 ? 2 : 3);
    static constexpr unsigned char kLeads[] = {0x00, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLeads[extra] | (c >> (6 * extra)));
    for (int k = extra - 1; k >= 0; --k) out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
  }
}

// `text` with every surrogate pair (and lone surrogate) made one '?', so
// that a legacy code page gives one '?' per character it lacks, not one per
// unit as WideCharToMultiByte would.
std::u16string oneUnitPerCharacter(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u < 0xD800 || u > 0xDFFF) {
      out += u;
      continue;
    }
    if (u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
    out += u'?';
  }
  return out;
}

bool isUtf16(std::uint32_t codePage) {
  return codePage == CodePage::kUtf16Le || codePage == CodePage::kUtf16Be;
}

// kAnsi and kOem are CP_ACP and CP_OEMCP already.
bool available(std::uint32_t codePage) {
  return codePage == CodePage::kAnsi || codePage == CodePage::kOem || ::IsValidCodePage(codePage);
}

// UTF-8, ASCII and UTF-16 are converted here; the other code pages through
// MultiByteToWideChar / WideCharToMultiByte (the latter without best-fit
// look-alikes, so that a character the page lacks becomes '?' as the
// contract says, where the page accepts that flag). Their int lengths limit
// a text to 2 GiB; longer ones are refused.
class WinCodePage final : public CodePage {
 public:
  bool toUtf16(std::uint32_t codePage, std::string_view bytes, std::u16string& out) override {
    if (isUtf16(codePage)) {
      decodeUtf16(bytes, codePage == kUtf16Be, out);
      return true;
    }
    if (codePage == kUtf8 || codePage == kAscii) {
      // ASCII: a byte above 0x7F is invalid (the system would map it to a
      // look-alike letter).
      const std::size_t at = out.size();
      decodeUtf8(bytes, out);
      if (codePage == kAscii)
        std::replace_if(
            out.begin() + at, out.end(), [](char16_t u) { return u > 0x7F; }, kReplacement);
      return true;
    }
    if (!available(codePage)) return false;
    if (bytes.empty()) return true;
    if (bytes.size() > kLongestText) return false;
    const int length = static_cast<int>(bytes.size());
    const int units = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (units <= 0) return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(units));
    ::MultiByteToWideChar(codePage, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(&out[at]),
                          units);
    return true;
  }

  bool fromUtf16(std::uint32_t codePage, std::u16string_view text, std::string& out) override {
    if (isUtf16(codePage)) {
      encodeUtf16(text, codePage == kUtf16Be, out);
      return true;
    }
    if (codePage == kUtf8) {
      encodeUtf8(text, out);
      return true;
    }
    if (!available(codePage)) return false;
    if (text.empty()) return true;
    const std::u16string units = oneUnitPerCharacter(text);
    const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
    const int length = static_cast<int>(units.size());
    const int bytes =
        ::WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(bytes));
    ::WideCharToMultiByte(codePage, 0, wide, length, &out[at], bytes, nullptr, nullptr);
    return true;
  }

  std::uint32_t oemCodePage() override { return ::GetOEMCP(); }
  std::uint32_t ansiCodePage() override { return ::GetACP(); }
};

}  // namespace

CodePage& platformCodePage() {
  static WinCodePage* const instance = new WinCodePage();
  return *instance;
}

}  // namespace s::os
