#include "lang/Localizer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gui/IEventListener.h"
#include "lang/LangPack.h"
#include "xml/Node.h"

namespace {

using s::lang::LangPack;
using s::lang::Localizer;

// A small table: English first, German, both Portuguese, both Chinese, and
// entries that exercise the fallback rules.
constexpr char16_t kTable[] =
    u"<lang>\r\n<languages>\r\n"
    u"<entry tagName=\"eng\" engName=\"English\" trueName=\"English\"></entry>\r\n"
    u"<entry tagName=\"deu\" engName=\"German\" trueName=\"Deutsch\"></entry>\r\n"
    u"<entry tagName=\"por\" engName=\"Portuguese\" trueName=\"Portugu\u00EAs\"></entry>\r\n"
    u"<entry tagName=\"bra\" engName=\"Portuguese_Brazilian\" trueName=\"Brasileiro\"></entry>\r\n"
    u"<entry tagName=\"zht\" engName=\"Chinese_Traditional\" trueName=\"\u7E41\"></entry>\r\n"
    u"<entry tagName=\"zhs\" engName=\"Chinese_Simplified\" trueName=\"\u7B80\"></entry>\r\n"
    u"</languages>\r\n<entries>\r\n"
    u"<entry id=\"1\">// a note<eng>Yes</eng><DEU>Ja</DEU><vec>S\u019A</vec></entry>\r\n"
    u"<entry id=\"2\"><eng>Only English</eng></entry>\r\n"
    u"<entry id=\"3\"><rom>Da</rom><deu>Nur Deutsch</deu></entry>\r\n"
    u"<entry id=\"400200\"><eng>Check for Updates</eng><deu></deu></entry>\r\n"
    u"<entry id=\"5\"><eng>&#160;  Pad&amp;  &#160;</eng><bra>Line&#13;&#10;Two</bra></entry>\r\n"
    u"<entry id=\"key\"><eng>Keyed</eng><deu>Schl\u00FCssel</deu></entry>\r\n"
    u"</entries>\r\n</lang>\r\n";

struct TableReleaser {
  void operator()(Localizer* table) const { table->release(); }
};
using OwnedTable = std::unique_ptr<Localizer, TableReleaser>;

OwnedTable loadTable(const char16_t* text) {
  s::xml::Node* root = s::xml::Node::create();
  root->parse(text);
  OwnedTable table(Localizer::create());
  table->load(*root);
  root->release();
  return table;
}

std::u16string engNameOf(const LangPack* language) {
  return language != nullptr ? std::u16string(language->getEngName().view()) : u"<none>";
}

// Records every event it receives.
class Recorder : public s::gui::IEventListener {
 public:
  Recorder(std::vector<std::pair<Recorder*, std::int32_t>>& log, const s::base::IObject*& sender)
      : log_(log), sender_(sender) {}
  void onEvent(s::base::IObject* sender, std::int32_t code) override {
    sender_ = sender;
    log_.emplace_back(this, code);
  }

 private:
  std::vector<std::pair<Recorder*, std::int32_t>>& log_;
  const s::base::IObject*& sender_;
};

TEST(Localizer, LoadsLanguagesAndFallsBackToTheFirstText) {
  OwnedTable table = loadTable(kTable);
  ASSERT_EQ(table->languageCount(), 6u);
  EXPECT_EQ(std::u16string(table->languageAt(1)->getTrueName().view()), u"Deutsch");
  EXPECT_EQ(table->findByTag(u"DEU"), table->languageAt(1));
  EXPECT_EQ(table->findByTag(u"vec"), nullptr);

  const struct {
    const char16_t* tag;
    std::int32_t id;
    std::u16string text;
  } cases[] = {
      {u"deu", 1, u"Ja"},            // element names match tags ignoring case
      {u"por", 1, u"Yes"},           // missing translation: the first text
      {u"zhs", 2, u"Only English"},  // ...also for entries with one text
      {u"deu", 3, u"Nur Deutsch"},   // unlisted first element: no fallback
      {u"eng", 3, u""},              //   so the others have nothing
      {u"deu", 400200, u""},         // an empty translation stays empty
      {u"eng", 5, u"   Pad&   "},    // entity blanks survive, typed ones go
      {u"bra", 5, u"Line\r\nTwo"},
      {u"eng", 123, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const LangPack* language = table->findByTag(c.tag);
    ASSERT_NE(language, nullptr);
    table->selectLanguageAt(0);
    for (std::uint32_t i = 0; i < table->languageCount(); ++i) {
      if (table->languageAt(i) == language) table->selectLanguageAt(i);
    }
    EXPECT_EQ(std::u16string(table->text(c.id)), c.text);
  }
  EXPECT_FALSE(table->findByTag(u"eng")->hasId(3));
  EXPECT_EQ(table->findByTag(u"deu")->textCount(), 5u) << "ids 1, 2, 3, 400200 and 5";
}

TEST(Localizer, KeyedEntriesFallBackLikeNumberedOnes) {
  OwnedTable table = loadTable(kTable);
  const LangPack* german = table->findByTag(u"deu");
  const LangPack* chinese = table->findByTag(u"zht");
  ASSERT_NE(german->findKeyedText(u"key"), nullptr);
  EXPECT_EQ(std::u16string(german->findKeyedText(u"key")->view()), u"Schl\u00FCssel");
  EXPECT_EQ(std::u16string(chinese->findKeyedText(u"key")->view()), u"Keyed");
  EXPECT_EQ(chinese->findKeyedText(u"other"), nullptr);
  EXPECT_EQ(german->keyCount(), 1u);
}

TEST(Localizer, SelectsLanguagesByEnglishNameWithFallbacks) {
  const struct {
    const char16_t* name;
    std::u16string selected;
  } cases[] = {
      {u"german", u"German"},
      {u"Portuguese_Portugal", u"Portuguese_Brazilian"},
      {u"Portuguese", u"Portuguese"},
      {u"Chinese", u"Chinese_Simplified"},
      {u"chinese_hongkong", u"Chinese_Simplified"},
      {u"Klingon", u"English"},
      {u"", u"English"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::u16string(c.name).size());
    OwnedTable table = loadTable(kTable);
    table->selectLanguageAt(1);  // start from German
    table->selectLanguage(c.name);
    EXPECT_EQ(engNameOf(table->currentLanguage()), c.selected);
  }
}

TEST(Localizer, FallbacksWorkWithoutTheirFirstChoicesAndWithoutEnglish) {
  OwnedTable table = loadTable(
      u"<lang><languages>"
      u"<entry tagName=\"deu\" engName=\"German\"/>"
      u"<entry tagName=\"zht\" engName=\"Chinese_Traditional\"/>"
      u"<entry tagName=\"srp\" engName=\"Serbian_Latin\"/>"
      u"</languages></lang>");
  EXPECT_EQ(engNameOf(table->findLanguage(u"Chinese_Simplified")), u"Chinese_Traditional");
  EXPECT_EQ(engNameOf(table->findLanguage(u"Serbian_cyrillic")), u"Serbian_Latin");
  EXPECT_EQ(table->findLanguage(u"Portuguese_Brazilian"), nullptr);
  table->selectLanguageAt(2);
  table->selectLanguage(u"Klingon");
  EXPECT_EQ(engNameOf(table->currentLanguage()), u"German") << "no English: the first language";
  EXPECT_TRUE(table->languageAt(0)->getTrueName().view().empty()) << "a missing attribute is empty";
}

TEST(Localizer, TellsListenersOnlyWhenTheCurrentLanguageChanges) {
  OwnedTable table = loadTable(kTable);
  std::vector<std::pair<Recorder*, std::int32_t>> log;
  const s::base::IObject* sender = nullptr;
  Recorder first(log, sender), second(log, sender), removed(log, sender);
  table->addListener(&first);
  table->addListener(&removed);
  table->addListener(&second);
  table->removeListener(&removed);
  table->removeListener(&removed);  // not registered any more: nothing happens

  table->selectLanguageAt(1);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], std::make_pair(&first, 0));
  EXPECT_EQ(log[1], std::make_pair(&second, 0));
  EXPECT_EQ(sender, table.get());

  log.clear();
  table->selectLanguage(u"GERMAN");
  table->selectLanguage(u"Deutsch");  // not an English name: English...
  EXPECT_EQ(log.size(), 2u);
  log.clear();
  table->selectLanguageAt(0);  // ...which is current already
  table->selectLanguage(u"English");
  table->selectLanguage(u"Klingon");
  table->selectLanguageAt(99);
  EXPECT_TRUE(log.empty());
}

TEST(Localizer, UpdateTextDecidesTheVersionCheck) {
  OwnedTable table = loadTable(kTable);
  table->selectLanguage(u"English");
  EXPECT_TRUE(table->hasUpdateText());
  table->selectLanguage(u"German");
  EXPECT_FALSE(table->hasUpdateText()) << "German's text is empty";
}

TEST(Localizer, ADocumentWithoutItsListsGivesAnEmptyTable) {
  for (const char16_t* text : {u"<lang></lang>", u"",
                               u"<lang><entries><entry id=\"1\">"
                               u"<eng>x</eng></entry></entries></lang>"}) {
    OwnedTable table = loadTable(text);
    EXPECT_EQ(table->languageCount(), 0u);
    EXPECT_EQ(table->currentLanguage(), nullptr);
    EXPECT_EQ(std::u16string(table->text(1)), u"");
    EXPECT_FALSE(table->hasUpdateText());
    table->selectLanguage(u"English");
    table->selectLanguageAt(0);
  }
}

TEST(Localizer, ReloadingReplacesTheLanguages) {
  OwnedTable table = loadTable(kTable);
  table->selectLanguageAt(1);
  s::xml::Node* root = s::xml::Node::create();
  root->parse(u"<lang><languages><entry tagName=\"eng\" engName=\"English\"/></languages></lang>");
  table->load(*root);
  root->release();
  EXPECT_EQ(table->languageCount(), 1u);
  EXPECT_EQ(engNameOf(table->currentLanguage()), u"English");
}

TEST(LangPack, OnlyVenetianTextsGetTheLegacyLetterWhenAsked) {
  const char16_t text[] = u"a\u019Ab";
  const struct {
    const char16_t* tag;
    bool legacy;
    std::u16string expected;
  } cases[] = {
      {u"vec", true, u"a\u0142b"},
      {u"vec", false, u"a\u019Ab"},
      {u"VEC", true, u"a\u019Ab"},
      {u"eng", true, u"a\u019Ab"},
  };
  for (const auto& c : cases) {
    LangPack* pack = LangPack::create();
    pack->setNames(c.tag, u"", u"");
    LangPack::setLegacyLetterForms(c.legacy);
    pack->addText(1, text);
    pack->addKeyedText(u"k", text);
    LangPack::setLegacyLetterForms(false);
    EXPECT_EQ(std::u16string(pack->findText(1)->view()), c.expected);
    EXPECT_EQ(std::u16string(pack->findKeyedText(u"k")->view()), c.expected);
    pack->release();
  }
}

TEST(LangPack, TheFirstTextOfAnIdOrKeyWins) {
  LangPack* pack = LangPack::create();
  pack->addText(7, u"first");
  pack->addText(7, u"second");
  EXPECT_TRUE(pack->addKeyedText(u"k", u"first"));
  EXPECT_FALSE(pack->addKeyedText(u"k", u"second"));
  EXPECT_EQ(std::u16string(pack->findText(7)->view()), u"first");
  EXPECT_EQ(std::u16string(pack->findKeyedText(u"k")->view()), u"first");
  EXPECT_EQ(pack->textCount(), 2u);
  EXPECT_EQ(pack->keyCount(), 1u);
  pack->release();
  LangPack* again = LangPack::create();
  EXPECT_EQ(again->textCount(), 0u);
  EXPECT_EQ(again->findKeyedText(u"k"), nullptr);
  again->release();
}

}  // namespace
