// The basic text drawer on memory surfaces: the eight effects, the layout
// flags, measuring texts and labels, and handing its looks to fonts.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "SurfaceProbe.h"
#include "gui/drawer/text/win/Basic.h"
#include "gui/win/Font.h"
#include "gui/win/FontSetting.h"

namespace {

using s::gui::win::Font;
using s::gui::win::FontSetting;
using s::os::gui::Rect;
using s::os::gui::Rgb;
using TextDrawer = s::gui::drawer::text::win::Basic;

// Owns what a test takes from the pools.
struct Fixture : ::testing::Test {
  TextDrawer* drawer = TextDrawer::create();
  std::vector<Font*> fonts;

  Font* font(std::int32_t height = -20) {
    Font* made = Font::create();
    made->setHeight(height);
    fonts.push_back(made);
    return made;
  }
  void TearDown() override {
    for (Font* made : fonts) made->release();
    drawer->release();
  }
};

using TextDrawing = Fixture;

// Each effect paints the text several times; the pixel a later drawing
// covers fully has that drawing's colour. The expected picture is built
// from the plain text's own pixels moved by each drawing's offset.
TEST_F(TextDrawing, EffectsPaintTheirDrawingsAtTheirOffsetsInOrder) {
  struct Pass {
    std::int32_t dx, dy;
    Rgb colour;
  };
  const Rgb red{200, 40, 40}, black{0, 0, 0}, white{255, 255, 255};
  const Rgb halo1{30, 160, 30}, halo2{160, 30, 160};
  const auto halo = [&](Rgb colour) {
    std::vector<Pass> passes;
    for (const auto& [dx, dy] :
         {std::pair{0, -1}, {1, -1}, {2, -1}, {2, 0}, {2, 1}, {1, 1}, {0, 1}, {0, 0}})
      passes.push_back(Pass{dx, dy, colour});
    passes.push_back(Pass{1, 0, red});
    return passes;
  };
  struct Case {
    std::int32_t effect;
    Rgb text;
    std::vector<Pass> passes;
  };
  const Case cases[] = {
      {0, red, {{0, 0, red}}},
      {1, red, halo(halo1)},
      {2, red, {{1, 1, {119, 119, 119}}, {0, 0, red}}},
      {2, black, {{1, 1, {238, 238, 238}}, {0, 0, black}}},
      {3, red, {{2, 2, black}, {0, 0, white}, {1, 1, red}}},
      {4, red, {{0, 0, white}, {0, 2, black}, {0, 1, red}}},
      {5, red, {{2, 2, white}, {0, 0, black}, {1, 1, red}}},
      {6, red, {{0, 0, black}, {0, 2, white}, {0, 1, red}}},
      {7, red, halo(halo2)},
      {9, red, {{0, 0, red}}},  // no such effect: plain
  };
  const Rect area{10, 10, 200, 60};
  for (const Case& c : cases) {
    Font* plain = font(-36);
    plain->setTextColor(c.text.r, c.text.g, c.text.b);
    auto reference = probe::canvas(230, 90);
    drawer->paintText(*reference, area.x, area.y, area.right(), area.bottom(), u"Hm", plain);

    Font* styled = font(-36);
    styled->setTextColor(c.text.r, c.text.g, c.text.b);
    styled->setEffectColor1(halo1.r, halo1.g, halo1.b);
    styled->setEffectColor2(halo2.r, halo2.g, halo2.b);
    styled->setTextEffect(c.effect);
    auto dc = probe::canvas(230, 90);
    drawer->paintText(*dc, area.x, area.y, area.right(), area.bottom(), u"Hm", styled);

    std::map<std::uint32_t, std::int32_t> seen;  // colour -> pixels checked
    std::int32_t wrong = 0;
    for (std::int32_t y = 0; y < dc->height(); ++y) {
      for (std::int32_t x = 0; x < dc->width(); ++x) {
        // The last drawing that reaches this pixel at all.
        const Pass* top = nullptr;
        for (const Pass& pass : c.passes) {
          const std::int32_t sx = x - pass.dx, sy = y - pass.dy;
          if (sx >= 0 && sy >= 0 && sx < dc->width() && sy < dc->height() &&
              reference->pixel(sx, sy) != probe::kBackground)
            top = &pass;
        }
        const Rgb actual = dc->pixel(x, y);
        if (top == nullptr) {
          wrong += actual != probe::kBackground ? 1 : 0;
        } else if (reference->pixel(x - top->dx, y - top->dy) == c.text) {
          wrong += actual != top->colour ? 1 : 0;
          ++seen[top->colour.r << 16 | top->colour.g << 8 | top->colour.b];
        }
      }
    }
    EXPECT_EQ(wrong, 0) << "effect " << c.effect;
    for (const Pass& pass : c.passes)
      EXPECT_GT((seen[pass.colour.r << 16 | pass.colour.g << 8 | pass.colour.b]), 0)
          << "effect " << c.effect << ": no pixel of the drawing at " << pass.dx << "," << pass.dy;
  }
}

TEST_F(TextDrawing, LayoutFollowsTheFontUnlessCentred) {
  enum class Place { kTopLeft, kCentred, kAny };
  // How a line too long for the rectangle ends at its right edge.
  enum class End { kFits, kCut, kEllipsis };
  struct Case {
    const char* name;
    bool wrap, ellipsis, centred;
    std::u16string text;
    bool severalLines;
    End end;
    Place place;
  };
  const std::u16string longWord(20, u'M');
  const std::u16string words = u"MMM MMM MMM MMM MMM MMM";
  const Case cases[] = {
      {"single line", false, false, false, longWord, false, End::kCut, Place::kTopLeft},
      {"line breaks ignored on one line", false, false, false, u"Ab\nCd", false, End::kFits,
       Place::kTopLeft},
      {"word wrap", true, false, false, words, true, End::kFits, Place::kTopLeft},
      {"word wrap keeps line breaks", true, false, false, u"Ab\nCd", true, End::kFits,
       Place::kTopLeft},
      {"ellipsis", false, true, false, longWord, false, End::kEllipsis, Place::kTopLeft},
      {"word wrap goes before ellipsis", true, true, false, words, true, End::kFits,
       Place::kTopLeft},
      {"centred", false, false, true, u"Hi", false, End::kFits, Place::kCentred},
      {"centred ignores word wrap", true, false, true, words, false, End::kEllipsis, Place::kAny},
      {"centred ends with an ellipsis", false, false, true, longWord, false, End::kEllipsis,
       Place::kAny},
  };
  const Rect area{10, 10, 120, 100};
  for (const Case& c : cases) {
    Font* f = font(-20);
    f->setWordWrap(c.wrap);
    f->setEllipsis(c.ellipsis);
    drawer->setCentered(c.centred);
    auto dc = probe::canvas(150, 130);
    drawer->paintText(*dc, area.x, area.y, area.right(), area.bottom(), c.text, f);
    const std::int32_t line =
        dc->measureText(u"Hg", f->getPlatformFont(), -1, s::os::gui::kTextSingleLine).height;
    const Rect ink = probe::inkBox(*dc, probe::whole(*dc));
    ASSERT_GT(ink.width, 0) << c.name;
    EXPECT_TRUE(ink.x >= area.x && ink.right() <= area.right() && ink.y >= area.y &&
                ink.bottom() <= area.bottom())
        << c.name << ": drawn outside its rectangle";
    if (c.severalLines) {
      EXPECT_GT(ink.height, line * 3 / 2) << c.name;
    } else {
      EXPECT_LE(ink.height, line) << c.name;
    }
    if (c.end != End::kFits) {
      // The top half of the line near the right edge: M's when cut, empty
      // before and over the "..." (whose dots sit on the baseline).
      const Rect corner{area.right() - 6, ink.y, 6, ink.height / 2};
      const bool inked = probe::inkBox(*dc, corner).width > 0;
      EXPECT_EQ(inked, c.end == End::kCut) << c.name;
    }
    if (c.place == Place::kTopLeft) {
      EXPECT_LE(ink.x - area.x, 4) << c.name;
      EXPECT_LE(ink.y - area.y, line / 2) << c.name;
    } else if (c.place == Place::kCentred) {
      EXPECT_NEAR(ink.x + ink.width / 2.0, area.x + area.width / 2.0, 2.0) << c.name;
      EXPECT_NEAR(ink.y + ink.height / 2.0, area.y + area.height / 2.0, 4.0) << c.name;
    }
    drawer->setCentered(false);
  }
}

TEST_F(TextDrawing, NothingIsDrawnInAnEmptyRectangleOrWithoutAFont) {
  Font* f = font();
  for (const Rect& r : {Rect{10, 10, 0, 20}, Rect{10, 10, 20, 0}, Rect{30, 10, -5, 20}}) {
    auto dc = probe::canvas(60, 60);
    drawer->paintText(*dc, r.x, r.y, r.right(), r.bottom(), u"Text", f);
    EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)).width, 0) << r.width << "x" << r.height;
  }
  auto dc = probe::canvas(60, 60);
  drawer->paintText(*dc, 0, 0, 60, 60, u"Text", nullptr);
  EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)).width, 0);
}

using TextMeasuring = Fixture;

TEST_F(TextMeasuring, EffectsAddToTheTextSize) {
  Font* plain = font();
  auto dc = probe::canvas(10, 10);
  std::int32_t w0 = 0, h0 = 0;
  drawer->measureText(*dc, 0, 0, 500, 100, u"Measure", plain, w0, h0);
  ASSERT_GT(w0, 0);
  struct Case {
    std::int32_t effect, width, height;
  };
  for (const Case& c : {Case{1, 2, 1}, Case{2, 1, 1}, Case{3, 2, 1}, Case{4, 0, 1}, Case{5, 2, 1},
                        Case{6, 0, 1}, Case{7, 2, 1}}) {
    Font* f = font();
    f->setTextEffect(c.effect);
    std::int32_t w = 0, h = 0;
    drawer->measureText(*dc, 0, 0, 500, 100, u"Measure", f, w, h);
    EXPECT_EQ(w, w0 + c.width) << "effect " << c.effect;
    EXPECT_EQ(h, h0 + c.height) << "effect " << c.effect;
  }
}

TEST_F(TextMeasuring, TextIsMeasuredAsItIsDrawn) {
  auto dc = probe::canvas(10, 10);
  const std::u16string words = u"one two three four five six seven";
  Font* plain = font();
  std::int32_t lineWidth = 0, lineHeight = 0;
  drawer->measureText(*dc, 0, 0, 1000, 100, words, plain, lineWidth, lineHeight);
  ASSERT_GT(lineWidth, 100);

  struct Case {
    const char* name;
    bool wrap, ellipsis, centred;
    std::function<void(std::int32_t w, std::int32_t h)> check;
  };
  const Case cases[] = {
      {"one line runs past a narrow rectangle", false, false, false,
       [&](std::int32_t w, std::int32_t h) {
         EXPECT_EQ(w, lineWidth);
         EXPECT_EQ(h, lineHeight);
       }},
      {"word wrap breaks within the width", true, false, false,
       [&](std::int32_t w, std::int32_t h) {
         EXPECT_LE(w, 100);
         EXPECT_GE(h, 3 * lineHeight);
       }},
      {"ellipsis keeps to the width", false, true, false,
       [&](std::int32_t w, std::int32_t h) {
         EXPECT_LE(w, 100);
         EXPECT_GT(w, 50);
         EXPECT_EQ(h, lineHeight);
       }},
      {"centred: one line with an ellipsis", true, false, true,
       [&](std::int32_t w, std::int32_t h) {
         EXPECT_LE(w, 100);
         EXPECT_EQ(h, lineHeight);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Font* f = font();
    f->setWordWrap(c.wrap);
    f->setEllipsis(c.ellipsis);
    drawer->setCentered(c.centred);
    std::int32_t w = 0, h = 0;
    drawer->measureText(*dc, 20, 0, 120, 100, words, f, w, h);
    c.check(w, h);
  }
  drawer->setCentered(false);

  // "&" is a character like any other.
  std::int32_t amp = 0, none = 0, h = 0;
  drawer->measureText(*dc, 0, 0, 500, 100, u"A&B", plain, amp, h);
  drawer->measureText(*dc, 0, 0, 500, 100, u"AB", plain, none, h);
  EXPECT_GT(amp, none);
  std::int32_t w = -1;
  h = -1;
  drawer->measureText(*dc, 0, 0, 500, 100, u"A", nullptr, w, h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
}

// A label's preferred and maximum sizes.
TEST_F(TextMeasuring, RangesOfLabels) {
  auto dc = probe::canvas(10, 10);
  const std::u16string text = u"short wonderful\nline";
  Font* plain = font();
  const auto& shape = plain->getPlatformFont();
  const auto natural = dc->measureText(text, shape, -1, s::os::gui::kTextWordWrap);
  const auto oneLine = dc->measureText(text, shape, -1, s::os::gui::kTextSingleLine);
  const auto widestWord = dc->measureText(u"wonderful", shape, -1, s::os::gui::kTextSingleLine);
  ASSERT_GT(natural.height, oneLine.height) << "the line break counts when wrapping";

  struct Case {
    const char* name;
    bool wrap, ellipsis;
    std::int32_t effect;
    std::int32_t prefW, prefH, maxW, maxH;
  };
  const Case cases[] = {
      {"plain", false, false, 0, oneLine.width, oneLine.height, oneLine.width, oneLine.height},
      {"ellipsis may shrink to 1", false, true, 0, 1, oneLine.height, oneLine.width,
       oneLine.height},
      {"word wrap", true, false, 0, widestWord.width, natural.height, natural.width, 0},
      {"shadow", false, false, 2, oneLine.width + 1, oneLine.height + 1, oneLine.width + 1,
       oneLine.height + 1},
      {"outline", false, false, 1, oneLine.width + 2, oneLine.height + 1, oneLine.width + 2,
       oneLine.height + 1},
      {"embossed, wrapped", true, false, 4, widestWord.width, natural.height + 1, natural.width, 1},
      {"sunken, ellipsis", false, true, 5, 3, oneLine.height + 1, oneLine.width + 2,
       oneLine.height + 1},
  };
  for (const Case& c : cases) {
    Font* f = font();
    f->setWordWrap(c.wrap);
    f->setEllipsis(c.ellipsis);
    f->setTextEffect(c.effect);
    std::int32_t prefW = -1, prefH = -1, maxW = -1, maxH = -1;
    drawer->measureRange(*dc, text, f, prefW, prefH, maxW, maxH);
    EXPECT_EQ(prefW, c.prefW) << c.name;
    EXPECT_EQ(prefH, c.prefH) << c.name;
    EXPECT_EQ(maxW, c.maxW) << c.name;
    EXPECT_EQ(maxH, c.maxH) << c.name;
  }
}

using TextLooks = Fixture;

// Fonts keep their sizes and what they set themselves, and take the rest
// from the drawer's matching look.
TEST_F(TextLooks, FontsTakeTheDrawersLooksButKeepTheirOwn) {
  Font* normal = font();
  Font* disabled = font();
  Font* link = font();
  Font* hover = font();
  Font* pressed = font();
  for (Font* f : {normal, disabled, link, hover, pressed}) f->setSizeCode(101);
  link->setUnderline(false);     // set by the label itself
  hover->setTextColor(1, 2, 3);  // likewise
  normal->setHeight(-30);        // likewise
  drawer->getNormalSetting()->setTextColor(10, 20, 30);
  drawer->getNormalSetting()->setItalic(true);
  drawer->applyToFonts(normal, disabled, link, hover, pressed);

  struct Case {
    const char* name;
    Font* font;
    Rgb colour;
    bool underline;
  };
  for (const Case& c :
       {Case{"normal", normal, {10, 20, 30}, false},
        Case{"disabled", disabled, {161, 161, 146}, false}, Case{"link", link, {0, 170, 0}, false},
        Case{"link hover", hover, {1, 2, 3}, true},
        Case{"link pressed", pressed, {170, 170, 0}, true}}) {
    EXPECT_EQ(c.font->getTextColor(), c.colour) << c.name;
    EXPECT_EQ(c.font->isUnderline(), c.underline) << c.name;
    EXPECT_EQ(c.font->getPlatformFont().underline, c.underline) << c.name;
    EXPECT_TRUE(c.font->isBold()) << c.name << ": its size code's weight";
    EXPECT_EQ(c.font->getSizeCode(), 101) << c.name;
  }
  EXPECT_EQ(normal->getHeight(), -30) << "its own height";
  EXPECT_EQ(disabled->getHeight(),
            s::gui::LogicalFont::heightForSize(15, normal->getLogicalFont().scale()));
  EXPECT_TRUE(normal->isItalic());
  EXPECT_FALSE(disabled->isItalic());
  drawer->applyToFonts(nullptr, nullptr, nullptr, nullptr, nullptr);  // nothing to do

  // The same for settings (a button's looks).
  FontSetting* own = FontSetting::create();
  own->setSizeCode(-2);
  drawer->applyToSettings(nullptr, own, nullptr, nullptr, nullptr);
  EXPECT_EQ(own->getTextColor(), (Rgb{161, 161, 146}));
  EXPECT_EQ(own->getHeight(), s::gui::LogicalFont::heightForSize(8, own->getLogicalFont().scale()));
  own->release();
}

TEST_F(TextLooks, ResetBringsBackTheDefaultLooks) {
  for (FontSetting* setting :
       {drawer->getNormalSetting(), drawer->getDisabledSetting(), drawer->getLinkSetting(),
        drawer->getLinkHoverSetting(), drawer->getLinkPressedSetting()}) {
    setting->setTextColor(5, 5, 5);
    setting->setUnderline(false);
    setting->setSizeCode(101);
  }
  drawer->setCentered(true);
  drawer->reset();
  struct Case {
    const char* name;
    FontSetting* setting;
    Rgb colour;
    bool underline;
  };
  for (const Case& c :
       {Case{"normal", drawer->getNormalSetting(), {0, 0, 0}, false},
        Case{"disabled", drawer->getDisabledSetting(), {161, 161, 146}, false},
        Case{"link", drawer->getLinkSetting(), {0, 170, 0}, true},
        Case{"link hover", drawer->getLinkHoverSetting(), {170, 170, 0}, true},
        Case{"link pressed", drawer->getLinkPressedSetting(), {170, 170, 0}, true}}) {
    EXPECT_EQ(c.setting->getTextColor(), c.colour) << c.name;
    EXPECT_EQ(c.setting->isUnderline(), c.underline) << c.name;
    EXPECT_FALSE(c.setting->isBold()) << c.name;
  }
  // Not centred any more: a short text sits at the top left.
  Font* f = font();
  auto dc = probe::canvas(200, 100);
  drawer->paintText(*dc, 0, 0, 200, 100, u"Hi", f);
  EXPECT_LT(probe::inkBox(*dc, probe::whole(*dc)).x, 10);
}

}  // namespace
