#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace s::os {

// Conversion between UTF-16 text and the byte encodings of code pages,
// numbered as Windows numbers them (the constants below, 1252, 437, ...).
// On Windows this is MultiByteToWideChar / WideCharToMultiByte without
// flags; on Linux the OEM and ANSI code pages are the character set of the
// user's locale (LC_ALL / LC_CTYPE / LANG), converted with iconv.
//
// One process-wide instance serves the platform being built (codePage()); a
// test may install a wrapper with setCodePage(). Every operation may be
// called from any thread and never throws.
class CodePage {
 public:
  static constexpr std::uint32_t kAnsi = 0;  // the system's ANSI code page
  static constexpr std::uint32_t kOem = 1;   // the system's OEM code page
  static constexpr std::uint32_t kUtf16Le = 1200;
  static constexpr std::uint32_t kUtf16Be = 1201;
  static constexpr std::uint32_t kAscii = 20127;
  static constexpr std::uint32_t kUtf8 = 65001;

  virtual ~CodePage() = default;

  // Decodes `bytes` in code page `codePage` and appends the UTF-16 units to
  // `out`. Invalid or incomplete byte sequences become U+FFFD (one per
  // maximal invalid sequence). Returns false, leaving `out` as it was, when
  // the code page is not available on this system.
  virtual bool toUtf16(std::uint32_t codePage, std::string_view bytes, std::u16string& out) = 0;

  // Encodes `text` in code page `codePage` and appends the bytes to `out`.
  // Units the code page cannot express become '?' (for UTF-8 a lone
  // surrogate becomes the encoding of U+FFFD). No terminator is written.
  // Returns false, leaving `out` as it was, when the code page is not
  // available on this system.
  virtual bool fromUtf16(std::uint32_t codePage, std::u16string_view text, std::string& out) = 0;

  // The numbers of the system's OEM and ANSI code pages (on Linux the
  // locale's character set: 65001 for UTF-8, 20127 for ASCII, 28591.. for
  // ISO-8859-1.., n for CPn; kOem / kAnsi when the set has no number).
  virtual std::uint32_t oemCodePage() = 0;
  virtual std::uint32_t ansiCodePage() = 0;
};

// The process-wide CodePage. Never null. Any thread.
CodePage& codePage();

// Installs `replacement` as the process-wide CodePage (null restores the
// platform's own) and returns the previous one. Meant for tests; call it
// before other threads use codePage().
CodePage* setCodePage(CodePage* replacement);

// The platform's own CodePage, whatever is installed. Any thread.
CodePage& platformCodePage();

}  // namespace s::os
