#pragma once

#include <cstdint>

namespace s::os::linux_impl {

// The Windows language identifier (LANGID) of a POSIX locale name
// "language[_TERRITORY][.codeset][@modifier]" ("de_DE.UTF-8" -> 0x0407,
// "pt_BR" -> 0x0416, "sr_RS@latin" -> 0x241A). The most specific known form
// wins (language, territory and modifier; then language and modifier; then
// language and territory; then the language alone). "C", "POSIX", null, an
// empty name or an unknown language give English (0x0409). Any thread.
std::uint16_t languageIdOfLocale(const char* locale);

// languageIdOfLocale of the first non-empty of LC_ALL, LC_MESSAGES and LANG
// (the variables that decide the language of messages). Any thread.
std::uint16_t userLanguageIdFromEnvironment();

}  // namespace s::os::linux_impl
