#include "os/windows/WinText.h"

#include <cwchar>

namespace s::os::win_fs {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t must be a UTF-16 unit");

std::wstring toWide(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

std::u16string fromWide(const wchar_t* text, std::size_t length) {
  if (text == nullptr) return {};
  if (length == std::u16string::npos) length = std::wcslen(text);
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

bool usablePath(std::u16string_view path) {
  return !path.empty() && path.find(u'\0') == std::u16string_view::npos;
}

}  // namespace s::os::win_fs
