#include <windows.h>

#include "os/CodePage.h"

namespace s::os {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

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

bool isUtf16(std::uint32_t codePage) {
  return codePage == CodePage::kUtf16Le || codePage == CodePage::kUtf16Be;
}

// kAnsi and kOem are CP_ACP and CP_OEMCP already.
bool available(std::uint32_t codePage) {
  return codePage == CodePage::kAnsi || codePage == CodePage::kOem || ::IsValidCodePage(codePage);
}

// Conversions through MultiByteToWideChar / WideCharToMultiByte without
// flags: invalid input becomes U+FFFD, units a code page cannot express '?'.
// The int lengths of those calls limit one call to 2 GiB; the input is cut
// into pieces below that where needed.
class WinCodePage final : public CodePage {
 public:
  bool toUtf16(std::uint32_t codePage, std::string_view bytes, std::u16string& out) override {
    if (isUtf16(codePage)) {
      decodeUtf16(bytes, codePage == kUtf16Be, out);
      return true;
    }
    if (!available(codePage)) return false;
    if (bytes.empty()) return true;
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
    if (!available(codePage)) return false;
    if (text.empty()) return true;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
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
