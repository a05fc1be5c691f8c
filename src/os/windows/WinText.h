#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace s::os::win_fs {

// wchar_t is a UTF-16 unit on Windows, so texts cross to the system as they
// are. Any thread; no state.

// `text` as a zero-terminated wide string.
std::wstring toWide(std::u16string_view text);

// The first `length` units of `text` (up to the first zero when `length` is
// npos).
std::u16string fromWide(const wchar_t* text, std::size_t length = std::u16string::npos);

// Whether `path` can name an entry: not empty and free of zeros.
bool usablePath(std::u16string_view path);

}  // namespace s::os::win_fs
