// Fonts: size codes and heights through the scale factor, settings set
// explicitly surviving size codes and adoption, the platform font made from
// the settings.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>

#include "gui/LogicalFont.h"
#include "gui/Scale.h"
#include "gui/win/Font.h"
#include "gui/win/FontSetting.h"
#include "os/gui/Ui.h"

namespace {

using s::gui::LogicalFont;
using s::gui::win::Font;
using s::gui::win::FontSetting;
using s::os::gui::Rgb;

TEST(FontSize, HeightFollowsThePointSizeAndTheScaleFactor) {
  struct Case {
    std::int32_t points, scale, height;
  };
  for (const Case& c : {Case{10, 1, -13}, Case{8, 1, -11}, Case{9, 1, -12}, Case{14, 1, -19},
                        Case{10, 2, -27}, Case{10, 4, -53}, Case{1, 1, -1}, Case{2, 1, -3},
                        Case{100, 1, -133}, Case{101, 1, -13}, Case{51, 2, -13}}) {
    EXPECT_EQ(LogicalFont::heightForSize(c.points, c.scale), c.height)
        << c.points << " pt at scale " << c.scale;
  }
  // A new description is 10 points at its scale factor.
  for (const auto& [scale, height] : {std::pair{1, -13}, {2, -27}, {4, -53}})
    EXPECT_EQ(LogicalFont(scale).getHeight(), height) << "scale " << scale;
}

TEST(FontSize, SizeCodesGiveWeightAndHeight) {
  struct Case {
    std::int32_t scale;
    std::int32_t code;
    std::int32_t height;  // of the resulting point size at that scale
    bool bold;
  };
  for (const Case& c : {
           Case{1, 0, -13, false},       // 10 pt
           Case{1, -1, -12, false},      // 9 pt
           Case{1, -2, -11, false},      // 8 pt
           Case{1, 4, -19, false},       // 14 pt
           Case{1, 99, -13, false},      // 109 pt: too tall, the default height
           Case{1, 100001, -11, false},  // 8 pt
           Case{1, 100, -19, true},      // 14 pt bold
           Case{1, 101, -20, true},      // 15 pt bold
           Case{1, -101, -17, true},     // 13 pt bold: the remainder keeps the sign
           Case{2, 0, -27, false},
           Case{2, -2, -21, false},
       }) {
    LogicalFont font(c.scale);
    font.setSizeCode(c.code);
    EXPECT_EQ(font.getHeight(), c.height) << "code " << c.code << " at scale " << c.scale;
    EXPECT_EQ(font.isBold(), c.bold) << "code " << c.code;
    EXPECT_EQ(font.getWeight(), c.bold ? 700 : 400) << "code " << c.code;
    EXPECT_EQ(font.getSizeCode(), c.code);
  }
}

TEST(FontSize, CodesOfAThousandAndMoreChangeNothingButTheSmallCode) {
  for (const std::int32_t code : {5000, 1000, -1000, -100001, 100000, 100002}) {
    LogicalFont font(1);
    font.setSizeCode(101);
    EXPECT_FALSE(font.setSizeCode(code)) << code;
    EXPECT_EQ(font.getSizeCode(), 101) << code;
    EXPECT_EQ(font.getHeight(), -20) << code;
    EXPECT_TRUE(font.isBold()) << code;
  }
  LogicalFont fresh(1);
  fresh.setSizeCode(5000);
  EXPECT_FALSE(fresh.isCustomized()) << "an ignored code sets nothing";
}

TEST(FontSize, ExplicitBoldAndHeightOutliveSizeCodes) {
  struct Case {
    const char* name;
    std::function<void(LogicalFont&)> set;
    std::int32_t code;
    std::int32_t height;
    std::int32_t weight;
  };
  const Case cases[] = {
      {"not bold, then a bold code", [](LogicalFont& f) { f.setBold(false); }, 101, -20, 400},
      {"bold, then a normal code", [](LogicalFont& f) { f.setBold(true); }, -2, -11, 700},
      {"a weight, then a bold code", [](LogicalFont& f) { f.setWeight(300); }, 100, -19, 300},
      {"a height, then a bold code", [](LogicalFont& f) { f.setHeight(-30); }, 101, -30, 700},
      {"a point size, then the small code", [](LogicalFont& f) { f.setPointSize(12); }, 100001, -16,
       400},
      {"a size code sets nothing explicitly", [](LogicalFont& f) { f.setSizeCode(101); }, -2, -11,
       400},
  };
  for (const Case& c : cases) {
    LogicalFont font(1);
    c.set(font);
    font.setSizeCode(c.code);
    EXPECT_EQ(font.getHeight(), c.height) << c.name;
    EXPECT_EQ(font.getWeight(), c.weight) << c.name;
  }
}

TEST(FontSize, PointSizesAreConvertedForTheScreen) {
  for (const auto& [points, scale, height] :
       {std::tuple{10, 1, -13}, {8, 1, -11}, {12, 1, -16}, {9, 1, -12}, {10, 2, -27}}) {
    LogicalFont font(scale);
    font.setPointSize(points);
    EXPECT_EQ(font.getHeight(), height) << points << " pt at scale " << scale;
    EXPECT_TRUE(font.isChanged(LogicalFont::kHeight));
  }
}

// Adoption takes over exactly the settings that were not set explicitly.
TEST(FontAdopt, TakesOnlyWhatWasNotSetHere) {
  LogicalFont source(1, u"Source Face");
  source.setTextColor(1, 2, 3);
  source.setEffectColor1(4, 5, 6);
  source.setEffectColor2(7, 8, 9);
  source.setWeight(800);
  source.setHeight(-40);
  source.setWidth(12);
  source.setItalic(true);
  source.setUnderline(true);
  source.setStrikeOut(true);
  source.setClearType(false);
  source.setSizeCode(-2);
  source.setWordWrap(true);
  source.setEllipsis(true);
  source.setTextEffect(3);

  struct Case {
    const char* name;
    std::function<void(LogicalFont&)> setHere;
    std::function<bool(const LogicalFont&)> kept;   // the value set here survived
    std::function<bool(const LogicalFont&)> taken;  // the source's value arrived
  };
  const Case cases[] = {
      {"face", [](LogicalFont& f) { f.setFaceName(u"Mine"); },
       [](const LogicalFont& f) { return f.getFaceName() == u"Mine"; },
       [](const LogicalFont& f) { return f.getFaceName() == u"Source Face"; }},
      {"text colour", [](LogicalFont& f) { f.setTextColor(9, 9, 9); },
       [](const LogicalFont& f) {
         return f.getTextColor() == Rgb{9, 9, 9};
       },
       [](const LogicalFont& f) {
         return f.getTextColor() == Rgb{1, 2, 3};
       }},
      {"effect colour 1", [](LogicalFont& f) { f.setEffectColor1(9, 9, 9); },
       [](const LogicalFont& f) {
         return f.getEffectColor1() == Rgb{9, 9, 9};
       },
       [](const LogicalFont& f) {
         return f.getEffectColor1() == Rgb{4, 5, 6};
       }},
      {"effect colour 2", [](LogicalFont& f) { f.setEffectColor2(9, 9, 9); },
       [](const LogicalFont& f) {
         return f.getEffectColor2() == Rgb{9, 9, 9};
       },
       [](const LogicalFont& f) {
         return f.getEffectColor2() == Rgb{7, 8, 9};
       }},
      {"bold", [](LogicalFont& f) { f.setBold(false); },
       [](const LogicalFont& f) { return f.getWeight() == 400; },
       [](const LogicalFont& f) { return f.getWeight() == 800; }},
      {"height", [](LogicalFont& f) { f.setHeight(-20); },
       [](const LogicalFont& f) { return f.getHeight() == -20; },
       [](const LogicalFont& f) { return f.getHeight() == -40; }},
      {"point size", [](LogicalFont& f) { f.setPointSize(12); },
       [](const LogicalFont& f) { return f.getHeight() == -16; },
       [](const LogicalFont& f) { return f.getHeight() == -40; }},
      {"width", [](LogicalFont& f) { f.setWidth(3); },
       [](const LogicalFont& f) { return f.getWidth() == 3; },
       [](const LogicalFont& f) { return f.getWidth() == 12; }},
      {"italic", [](LogicalFont& f) { f.setItalic(false); },
       [](const LogicalFont& f) { return !f.isItalic(); },
       [](const LogicalFont& f) { return f.isItalic(); }},
      {"underline", [](LogicalFont& f) { f.setUnderline(false); },
       [](const LogicalFont& f) { return !f.isUnderline(); },
       [](const LogicalFont& f) { return f.isUnderline(); }},
      {"strike-out", [](LogicalFont& f) { f.setStrikeOut(false); },
       [](const LogicalFont& f) { return !f.isStrikeOut(); },
       [](const LogicalFont& f) { return f.isStrikeOut(); }},
      {"ClearType", [](LogicalFont& f) { f.setClearType(true); },
       [](const LogicalFont& f) { return f.isClearType(); },
       [](const LogicalFont& f) { return !f.isClearType(); }},
  };
  for (const Case& c : cases) {
    LogicalFont untouched(1, u"Mine too");
    untouched.adopt(source);
    EXPECT_TRUE(c.taken(untouched)) << c.name << ": not set here, so taken over";
    LogicalFont own(1, u"Mine too");
    c.setHere(own);
    own.adopt(source);
    EXPECT_TRUE(c.kept(own)) << c.name << ": set here, so kept";
  }

  // Never taken over: the size code, the layout flags and the effect.
  LogicalFont target(1);
  target.setSizeCode(101);
  target.adopt(source);
  EXPECT_EQ(target.getSizeCode(), 101);
  EXPECT_FALSE(target.isWordWrap());
  EXPECT_FALSE(target.isEllipsis());
  EXPECT_EQ(target.getTextEffect(), 0);
  // The flags stay with each font: what was taken over can be taken over
  // again from another source.
  EXPECT_FALSE(target.isChanged(LogicalFont::kTextColor));
  LogicalFont other(1);
  other.setTextColor(50, 60, 70);
  target.adopt(other);
  EXPECT_EQ(target.getTextColor(), (Rgb{50, 60, 70}));
}

TEST(Font, ThePlatformFontFollowsEveryChangeOfTheDescription) {
  struct Case {
    const char* name;
    std::function<void(Font&)> change;
    std::int32_t pixels;
    bool bold, italic, underline;
  };
  const std::int32_t normal = -LogicalFont::heightForSize(10, s::gui::Scale::factor());
  const Case cases[] = {
      {"new", [](Font&) {}, normal, false, false, false},
      {"character height", [](Font& f) { f.setHeight(-20); }, 20, false, false, false},
      {"cell height", [](Font& f) { f.setHeight(24); }, 24, false, false, false},
      {"no height: the default", [](Font& f) { f.setHeight(0); }, normal, false, false, false},
      {"weight 600 is bold", [](Font& f) { f.setWeight(600); }, normal, true, false, false},
      {"weight 599 is not", [](Font& f) { f.setWeight(599); }, normal, false, false, false},
      {"bold", [](Font& f) { f.setBold(true); }, normal, true, false, false},
      {"bold, then not", [](Font& f) { f.setBold(true), f.setBold(false); }, normal, false, false,
       false},
      {"point size", [](Font& f) { f.setPointSize(30); },
       -LogicalFont::heightForPoints(30, s::gui::Scale::factor()), false, false, false},
      {"bold size code", [](Font& f) { f.setSizeCode(101); },
       -LogicalFont::heightForSize(15, s::gui::Scale::factor()), true, false, false},
      {"italic", [](Font& f) { f.setItalic(true); }, normal, false, true, false},
      {"underline", [](Font& f) { f.setUnderline(true); }, normal, false, false, true},
  };
  for (const Case& c : cases) {
    Font* font = Font::create();
    c.change(*font);
    const s::os::gui::FontSpec& shape = font->getPlatformFont();
    EXPECT_EQ(shape.pixelHeight, c.pixels) << c.name;
    EXPECT_EQ(shape.bold, c.bold) << c.name;
    EXPECT_EQ(shape.italic, c.italic) << c.name;
    EXPECT_EQ(shape.underline, c.underline) << c.name;
    font->release();
  }
  Font* named = Font::create();
  named->setFaceName(u"DejaVu Serif");
  EXPECT_EQ(named->getPlatformFont().face, u"DejaVu Serif");
  named->setFaceName(std::u16string(40, u'x'));
  EXPECT_EQ(named->getFaceName(), std::u16string(31, u'x')) << "a face name holds 31 characters";
  named->release();
}

TEST(Font, ANewFontHasTheInterfaceFaceAndNothingSetExplicitly) {
  Font* font = Font::create();
  EXPECT_FALSE(font->getFaceName().empty());
  EXPECT_EQ(font->getFaceName(), s::os::gui::ui().interfaceFontFace());
  EXPECT_FALSE(font->isCustomized());
  EXPECT_EQ(font->getTextColor(), (Rgb{0, 0, 0}));
  EXPECT_EQ(font->getEffectColor1(), (Rgb{238, 238, 238}));
  EXPECT_EQ(font->getEffectColor2(), (Rgb{238, 238, 238}));
  EXPECT_TRUE(font->isClearType());
  EXPECT_EQ(font->getSizeCode(), 0);
  font->setWordWrap(true);
  EXPECT_TRUE(font->isCustomized());
  font->reset();
  EXPECT_FALSE(font->isCustomized());
  EXPECT_FALSE(font->isWordWrap());
  font->release();
}

TEST(Font, TextHeightGrowsWithTheFont) {
  Font* small = Font::create();
  Font* large = Font::create();
  small->setHeight(-10);
  large->setHeight(-30);
  const std::int32_t smallHeight = small->measureTextHeight();
  EXPECT_GT(smallHeight, 0);
  EXPECT_GT(large->measureTextHeight(), 2 * smallHeight);
  small->release();
  large->release();
}

// A setting keeps the same rules without a platform font and makes fonts
// that carry its flags along.
TEST(FontSetting, MakesFontsWithItsSettingsAndFlags) {
  FontSetting* setting = FontSetting::create();
  setting->setSizeCode(101);
  setting->setTextColor(10, 20, 30);
  setting->setItalic(true);
  Font* font = setting->createFont();
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(font->isBold());
  EXPECT_EQ(font->getHeight(), setting->getHeight());
  EXPECT_EQ(font->getSizeCode(), 101);
  EXPECT_TRUE(font->getPlatformFont().italic) << "the platform font is made at once";

  // Its explicit colour stays when it adopts another setting; the rest is
  // taken over.
  FontSetting* theme = FontSetting::create();
  theme->setTextColor(200, 0, 0);
  theme->setUnderline(true);
  font->adoptSetting(theme);
  EXPECT_EQ(font->getTextColor(), (Rgb{10, 20, 30}));
  EXPECT_TRUE(font->isUnderline());
  EXPECT_TRUE(font->getPlatformFont().underline);

  // A setting adopting a font works alike.
  FontSetting* other = FontSetting::create();
  other->setUnderline(false);
  other->adoptFont(font);
  EXPECT_FALSE(other->isUnderline());
  EXPECT_TRUE(other->isItalic());
  EXPECT_EQ(other->getTextColor(), (Rgb{10, 20, 30}));
  font->adoptSetting(nullptr);  // nothing happens
  font->adoptFont(nullptr);

  other->release();
  theme->release();
  font->release();
  setting->release();
}

}  // namespace
