#include "lang/SystemLanguage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "os/System.h"
#include "str/strbuffer/StrBuffer.h"

namespace {

using s::str::strbuffer::StrBuffer;

std::u16string nameOf(std::uint16_t id) {
  StrBuffer* out = StrBuffer::fromText(u"old");
  s::lang::languageNameOf(id, *out);
  std::u16string name(out->view());
  out->release();
  return name;
}

// Language identifier -> the name it maps to -> the shipped language chosen
// for a user of that language.
TEST(SystemLanguage, MapsLanguageIdsToTheLanguageTheUserGets) {
  const struct {
    std::uint16_t id;
    std::u16string name;
    std::u16string chosen;
  } cases[] = {
      {0x0407, u"German", u"German"},
      {0x0C07, u"German", u"German"},  // by primary language
      {0x0409, u"English", u"English"},
      {0x0416, u"Portuguese_brazilian", u"Portuguese_Brazilian"},
      {0x0816, u"Portuguese_portugal", u"Portuguese_Brazilian"},
      {0x0016, u"Portuguese", u"Portuguese"},
      {0x0804, u"Chinese_simplified", u"Chinese_Simplified"},
      {0x0004, u"Chinese_simplified", u"Chinese_Simplified"},
      {0x0404, u"Chinese_traditional", u"Chinese_Traditional"},
      {0x0C04, u"Chinese_traditional", u"Chinese_Traditional"},
      {0x7C04, u"Chinese_traditional", u"Chinese_Traditional"},
      {0x0010 | 0x0800, u"Italian", u"Italian"},
      {0x001A, u"Croatian", u"Croatian"},
      {0x041A, u"Croatian", u"Croatian"},
      {0x081A, u"Serbian_latin", u"Serbian_Latin"},
      {0x241A, u"Serbian_latin", u"Serbian_Latin"},
      {0x0C1A, u"Serbian_cyrillic", u"Serbian_Cyrillic"},
      {0x281A, u"Serbian_cyrillic", u"Serbian_Cyrillic"},
      {0x141A, u"Serbian", u"Serbian_Cyrillic"},  // Bosnian (Latin): primary language 26
      {0x201A, u"Bosnian", u"English"},
      {0x0429, u"Persian", u"Persian"},
      {0x0814, u"Norwegian", u"Norwegian"},
      {0x042E, u"Upper_sorbian", u"English"},
      {0x082E, u"Lower_sorbian", u"English"},
      {0x0436, u"Afrikaans", u"English"},
      {0x00F0, u"Unknown", u"English"},
  };
  s::lang::Localizer* table = s::lang::Localizer::createFromResource();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const std::u16string name = nameOf(c.id);
    EXPECT_EQ(name, c.name);
    table->selectLanguage(name.c_str());
    EXPECT_EQ(std::u16string(table->currentLanguage()->getEngName().view()), c.chosen);
  }
  table->release();
}

TEST(SystemLanguage, IsThePlatformLanguageAskedOnce) {
  const std::u16string expected = nameOf(s::os::system().userLanguageId());
  const char16_t* first = s::lang::systemLanguageName();
  EXPECT_EQ(std::u16string(first), expected);
  EXPECT_EQ(s::lang::systemLanguageName(), first) << "cached, not computed again";
}

}  // namespace
