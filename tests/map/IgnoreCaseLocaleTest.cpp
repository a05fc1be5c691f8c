#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "map/Map.h"
#include "map/MapTable.h"
#include "str/strbuffer/StrBuffer.h"
#include "support/Env.h"

namespace {

using s::map::Map;
using s::map::MapTable;
using s::str::strbuffer::StrBuffer;

// Switches the process to the first locale other than "C" it has for one
// scope - a UTF-8 one where the C library offers it, as a GTK front end sets
// with setlocale(LC_ALL, ""); a Windows code-page locale elsewhere - then
// back to "C".
class Utf8Locale {
 public:
  Utf8Locale() {
    for (const char* name :
         {"C.UTF-8", "C.utf8", "en_US.UTF-8", ".UTF8", "English_United States.1252"}) {
      if (std::setlocale(LC_ALL, name) != nullptr) {
        name_ = name;
        return;
      }
    }
  }
  ~Utf8Locale() { std::setlocale(LC_ALL, "C"); }
  bool ok() const { return !name_.empty(); }

 private:
  std::string name_;
};

// Strings handed back to their pool at the end of the scope.
class Strings {
 public:
  StrBuffer* operator()(const char16_t* text) {
    held_.push_back(StrBuffer::fromText(text));
    return held_.back();
  }
  ~Strings() {
    for (StrBuffer* s : held_) s->release();
  }

 private:
  std::vector<StrBuffer*> held_;
};

// Whether the ignore-case hash and equality of two strings agree: equal
// strings hash alike.
void expectAgreement(StrBuffer* a, StrBuffer* b, bool same) {
  EXPECT_EQ(a->equalsIgnoreCase(b), same);
  EXPECT_EQ(b->equalsIgnoreCase(a), same);
  EXPECT_EQ(a->compareToIgnoreCase(b) == 0, same);
  if (same) {
    EXPECT_EQ(a->hashCodeIgnoreCase(), b->hashCodeIgnoreCase());
  }
}

// Hash and equality without case agree with each other, and give the same
// answers whatever locale the process runs under: a table filled under one
// locale finds its keys after the locale changed.
TEST(IgnoreCaseKeys, HashAndEqualityAgreeUnderEveryLocale) {
  struct Pair {
    const char16_t* a;
    const char16_t* b;
    bool same;
  };
  const Pair pairs[] = {
      {u"ÄRGER", u"ärger", true},
      {u"Straße", u"STRAẞE", true},
      {u"Straße", u"STRASSE", false},
      {u"ΣΟΦΊΑ", u"σοφία", true},
      {u"ΟΔΟΣ", u"οδος", true},
      {u"ПРИВЕТ", u"привет", true},
      {u"ǅemal", u"ǆEMAL", true},
      {u"ＡＢＣ", u"ａｂｃ", true},
      {u"Process_DiskSpace", u"process_diskspace", true},
      {u"Ärger", u"Arger", false},
      {u"i", u"İ", false},
  };
  Strings str;
  MapTable table;
  table.setIgnoreCase(true);
  Map set;
  set.setIgnoreCase(true);
  int value = 0;
  for (const Pair& p : pairs) {
    SCOPED_TRACE("pair " + std::to_string(&p - pairs) + " under C");
    expectAgreement(str(p.a), str(p.b), p.same);
    table.put(str(p.a), &value);
    set.add(str(p.a));
  }
  Utf8Locale utf8;
  VONQ_REQUIRE_CAPABILITY(utf8.ok(), "no locale besides C (scripts/install-deps makes one)");
  for (const Pair& p : pairs) {
    SCOPED_TRACE("pair " + std::to_string(&p - pairs) + " under another locale");
    expectAgreement(str(p.a), str(p.b), p.same);
    EXPECT_EQ(table.get(str(p.b)) == &value, p.same);
    EXPECT_EQ(set.contains(str(p.b)), p.same);
  }
}

}  // namespace
