#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "lang/LangPack.h"
#include "lang/Localizer.h"

namespace {

using s::lang::LangPack;
using s::lang::Localizer;

// The table compiled into the program, as start-up creates it.
class ShippedTable : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { table_ = Localizer::createFromResource(); }
  static void TearDownTestSuite() {
    table_->release();
    table_ = nullptr;
  }
  static std::u16string text(const LangPack& language, std::int32_t id) {
    const auto* found = language.findText(id);
    return found != nullptr ? std::u16string(found->view()) : u"<missing>";
  }
  static const LangPack& english() { return *table_->languageAt(0); }

  static Localizer* table_;
};

Localizer* ShippedTable::table_ = nullptr;

std::string ascii(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// Every entry id the program shows.
constexpr std::int32_t kUsedIds[] = {
    100000,  101000,  105000,  106000,  107000,  108000,  108100,  108200,     108500,     300000,
    400010,  400020,  400030,  400050,  400080,  400100,  400110,  400120,     400200,     400210,
    400220,  400230,  400300,  400310,  400320,  400330,  400340,  400380,     400390,     500000,
    500001,  500002,  500003,  500004,  500006,  500010,  500020,  500030,     500050,     500051,
    500052,  500089,  500090,  500100,  500101,  500102,  609000,  609100,     609300,     609350,
    609420,  609440,  609450,  609460,  700000,  700001,  701000,  701100,     701200,     701300,
    1000000, 1000500, 1001000, 1001001, 1001100, 1001101, 1001200, 1002000,    1002100,    1002200,
    1005000, 1008100, 1008101, 1008102, 1008200, 1008201, 1008300, 1008301,    1008400,    1008500,
    1008501, 1008510, 1008511, 1012000, 1012001, 1012100, 1012200, 2010000000, 2010001000,
};

TEST_F(ShippedTable, ListsTheThirtyEightLanguagesInMenuOrder) {
  const struct {
    const char16_t* tag;
    const char16_t* engName;
    const char16_t* trueName;
  } expected[] = {
      {u"eng", u"English", u"English"},
      {u"ara", u"Arabic", u"\u0639\u0631\u0628\u064A"},
      {u"ind", u"Indonesian", u"Bahasa Indonesia"},
      {u"bel", u"Belarusian", u"\u0411\u0435\u043B\u0430\u0440\u0443\u0441\u043A\u0456"},
      {u"bul", u"Bulgarian", u"\u0411\u044A\u043B\u0433\u0430\u0440\u0441\u043A\u0438"},
      {u"hrv", u"Croatian", u"Hrvatski"},
      {u"cze", u"Czech", u"Cestina"},
      {u"zhs", u"Chinese_Simplified", u"\u7B80\u4F53\u4E2D\u6587"},
      {u"zht", u"Chinese_Traditional", u"\u7E41\u9AD4\u4E2D\u6587"},
      {u"dan", u"Danish", u"Dansk"},
      {u"nld", u"Dutch", u"Nederlands"},
      {u"est", u"Estonian", u"Eesti"},
      {u"fin", u"Finnish", u"Suomeksi"},
      {u"deu", u"German", u"Deutsch"},
      {u"ell", u"Greek", u"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC"},
      {u"spa", u"Spanish", u"Espa\u00F1ol"},
      {u"fra", u"French", u"Fran\u00E7ais"},
      {u"heb", u"Hebrew", u"\u05E2\u05D1\u05E8\u05D9\u05EA"},
      {u"hin", u"Hindi", u"\u0939\u093F\u0902\u0926\u0940"},
      {u"ita", u"Italian", u"Italiano"},
      {u"jpn", u"Japanese", u"\u65E5\u672C\u8A9E"},
      {u"kor", u"Korean", u"\uD55C\uAD6D\uC5B4"},
      {u"hun", u"Hungarian", u"Magyar"},
      {u"nor", u"Norwegian", u"Norsk"},
      {u"per", u"Persian", u"\u0641\u0627\u0631\u0633\u06CC"},
      {u"pol", u"Polish", u"Polski"},
      {u"por", u"Portuguese", u"Portugu\u00EAs"},
      {u"bra", u"Portuguese_Brazilian", u"Portugus Brasileiro"},
      {u"rus", u"Russian", u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439"},
      {u"cpn", u"Serbian_Cyrillic", u"\u0421\u0440\u043F\u0441\u043A\u0438"},
      {u"slk", u"Slovak", u"Slovensky"},
      {u"slv", u"Slovenian", u"Slovenski"},
      {u"swe", u"Swedish", u"Svenska"},
      {u"tha", u"Thai", u"\u0E44\u0E17\u0E22"},
      {u"tur", u"Turkish", u"T\u00FCrk\u00E7e"},
      {u"ukr", u"Ukrainian", u"\u0423\u043A\u0440\u0430\u0457\u043D\u0441\u044C\u043A\u0430"},
      {u"vie", u"Vietnamese", u"Vi\u00EA\u0323t Nam"},  // written decomposed
      {u"srp", u"Serbian_Latin", u"Srpski (Partial)"},
  };
  ASSERT_EQ(table_->languageCount(), std::size(expected));
  for (std::uint32_t i = 0; i < table_->languageCount(); ++i) {
    SCOPED_TRACE(i);
    const LangPack& language = *table_->languageAt(i);
    EXPECT_EQ(std::u16string(language.getTagName().view()), expected[i].tag);
    EXPECT_EQ(std::u16string(language.getEngName().view()), expected[i].engName);
    EXPECT_EQ(std::u16string(language.getTrueName().view()), expected[i].trueName);
  }
}

TEST_F(ShippedTable, EveryUsedEntryHasATextInEveryLanguage) {
  for (std::uint32_t i = 0; i < table_->languageCount(); ++i) {
    const LangPack& language = *table_->languageAt(i);
    for (std::int32_t id : kUsedIds) {
      const auto* found = language.findText(id);
      EXPECT_TRUE(found != nullptr && found->length() > 0)
          << "entry " << id << " has no text in " << ascii(language.getTagName().view());
    }
  }
}

TEST_F(ShippedTable, EnglishTextsKeepTheirLineBreakAndPadding) {
  EXPECT_EQ(text(english(), 1012000), u"Erasing Complete!\r\nNo data can be recovered any more.");
  EXPECT_EQ(text(english(), 400330), u"       Yes       ");
  EXPECT_EQ(text(english(), 400330).size(), 17u);
  EXPECT_EQ(text(english(), 300000), u"Vonq Nulmark");
  EXPECT_EQ(text(english(), 1002000), u"Erase Recoverable Data Now!");
}

TEST_F(ShippedTable, NoOtherLanguageIsEnglishInDisguise) {
  // Names, addresses and numbers are the same in every language; a few
  // short labels ("URL:", "Version:", the licence name, the date) may read
  // as in English in some languages.
  const std::set<std::int32_t> sameEverywhere = {100000, 101000, 106000, 108000, 108200,
                                                 108500, 300000, 500000, 500001, 500002,
                                                 500003, 500004, 500006, 500010, 500100};
  const std::set<std::int32_t> maySometimesBeSame = {400010, 400080, 400110,
                                                     400340, 500020, 500050};
  for (std::uint32_t i = 1; i < table_->languageCount(); ++i) {
    const LangPack& language = *table_->languageAt(i);
    std::string same;
    for (std::int32_t id : kUsedIds) {
      if (sameEverywhere.count(id) > 0 || maySometimesBeSame.count(id) > 0) continue;
      if (text(language, id) == text(english(), id)) same += " " + std::to_string(id);
    }
    EXPECT_TRUE(same.empty()) << ascii(language.getTagName().view())
                              << " shows the English text of entries" << same;
  }
}

}  // namespace
