#pragma once

namespace s::str::strbuffer {

// Case folding of single UTF-16 units that is the same in every process,
// whatever locale it runs under (the C library's towlower follows the
// locale: "Ä" and "ä" are one letter under a UTF-8 locale and two under
// "C"). Hashes and equality that ignore case fold with it, so that they
// agree with each other however and whenever the locale is set. Each unit
// of the Basic Multilingual Plane maps to the one unit Unicode folds it to
// ("A" to "a", "Ä" to "ä", "Σ" and "ς" to "σ", "ẞ" to "ß"); a unit whose
// folding would take more than one unit ("ß" itself, "İ"), a surrogate and
// everything else stays as it is. No state; any thread.
class CaseFold {
 public:
  static char16_t fold(char16_t unit);
};

}  // namespace s::str::strbuffer
