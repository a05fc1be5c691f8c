#pragma once

#include <cstdint>

#include "str/IStr.h"

namespace s::lang {

// The English name of the user's interface language, as the language table
// compares it with its languages' English names (ignoring case): the
// platform's language identifier (a Windows LANGID, s::os) mapped by
// languageNameOf. Asked once per process and cached; never null. Any thread.
const char16_t* systemLanguageName();

// The name of a Windows language identifier: lower case with the first
// letter capitalised ("German", "Chinese_simplified", "Portuguese_brazilian").
// A few full identifiers are mapped first (Chinese, Portuguese, Croatian,
// Serbian, Bosnian and Sorbian variants); any other is mapped by its primary
// language (the low eight bits) to the name of the platform's LANG_ constant
// ("Persian", "Norwegian", "Serbian" for 26); an unknown one gives
// "Unknown". Replaces the content of `out`. Any thread.
void languageNameOf(std::uint16_t languageId, s::str::IStr& out);

}  // namespace s::lang
