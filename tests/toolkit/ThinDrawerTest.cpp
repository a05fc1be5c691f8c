// The thin look's drawers on memory surfaces: the shaded border, the button
// face with its symbols, the flat window frame and its shape.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "SurfaceProbe.h"
#include "gui/drawer/border/win/Thin.h"
#include "gui/drawer/button/win/FaceSymbol.h"
#include "gui/drawer/button/win/Thin.h"
#include "gui/drawer/statusbar/win/Thin.h"
#include "gui/drawer/window/win/Thin.h"
#include "gui/win/Font.h"

namespace {

using s::gui::win::Font;
using s::os::gui::MemDC;
using s::os::gui::Rect;
using s::os::gui::Region;
using s::os::gui::Rgb;
using BorderDrawer = s::gui::drawer::border::win::Thin;
using ButtonDrawer = s::gui::drawer::button::win::Thin;
using FrameDrawer = s::gui::drawer::window::win::Thin;
using s::gui::drawer::button::win::FaceSymbol;

constexpr Rgb kMark{200, 30, 60};

// Every pixel of `area` is `colour` exactly where `inside` says so, and the
// background elsewhere.
void expectPixels(const MemDC& dc, const std::set<std::pair<int, int>>& inside, Rgb colour,
                  const std::string& what) {
  int wrong = 0;
  for (int y = 0; y < dc.height(); ++y) {
    for (int x = 0; x < dc.width(); ++x) {
      const Rgb want = inside.count({x, y}) != 0 ? colour : probe::kBackground;
      if (dc.pixel(x, y) != want && ++wrong <= 5) ADD_FAILURE() << what << " at " << x << "," << y;
    }
  }
  EXPECT_EQ(wrong, 0) << what;
}

// The pixels of a stroke of 2 x 2 squares starting at (x, y) and stepping
// (dx, +1) `count` times.
void addStroke(std::set<std::pair<int, int>>& pixels, int x, int y, int dx, int count) {
  for (int i = 0; i < count; ++i, x += dx, ++y)
    for (int py = 0; py < 2; ++py)
      for (int px = 0; px < 2; ++px) pixels.insert({x + px, y + py});
}

TEST(CloseCross, ElevenSquaresPerStrokeInTwentyByFourteen) {
  auto dc = probe::canvas(20, 14);
  EXPECT_TRUE(FaceSymbol::paint(*dc, Rect{0, 0, 20, 14}, u"#X", kMark, 1));
  std::set<std::pair<int, int>> cross;
  addStroke(cross, 4, 1, +1, 11);   // falling: (4, 1) to (14, 11)
  addStroke(cross, 14, 1, -1, 11);  // rising: (14, 1) to (4, 11)
  expectPixels(*dc, cross, kMark, "#X");
  EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)), (Rect{4, 1, 12, 12}));
}

TEST(CloseCross, ScaleTwoUsesFourPixelSquaresInsideATwoPixelInset) {
  auto dc = probe::canvas(40, 28);
  EXPECT_TRUE(FaceSymbol::paint(*dc, Rect{0, 0, 40, 28}, u"#X", kMark, 2));
  // Inner area (2, 2)-(38, 26): a 24 x 24 square from (8, 2); the last
  // square's top is at most 26 - 4.
  EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)), (Rect{8, 2, 24, 24}));
  for (int i = 0; i <= 20; ++i) {
    EXPECT_EQ(dc->pixel(8 + i, 2 + i), kMark) << i;
    EXPECT_EQ(dc->pixel(31 - i, 2 + i), kMark) << i;
  }
}

TEST(FaceSymbols, OnlyExactNamesAreSymbols) {
  struct Case {
    std::u16string text;
    bool symbol;
    bool draws;
  };
  const Case cases[] = {
      {u"#X", true, true},
      {u"#x", false, false},
      {u"X", false, false},
      {u"", false, false},
      {u"#", false, false},
      {u"#Minus", true, true},
      {u"#PlusMinus", true, true},
      {u"#Resizer", true, true},
      {u"#Check", true, true},
      {u"#KeepRatio", true, true},
      {u"#Xtra", false, false},
      {u"#Color-zz", false, false},
      {u"#Color-00FF8040", true, true},
  };
  for (const Case& c : cases) {
    const std::string name(c.text.begin(), c.text.end());
    auto dc = probe::canvas(24, 24);
    EXPECT_EQ(FaceSymbol::paint(*dc, Rect{0, 0, 24, 24}, c.text, kMark, 1), c.symbol) << name;
    EXPECT_EQ(FaceSymbol::isSymbol(c.text), c.symbol) << name;
    EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)).width > 0, c.draws) << name;
  }
}

TEST(FaceSymbols, ColourSwatchReadsBlueGreenRedFromTheLastSixDigits) {
  auto dc = probe::canvas(10, 10);
  EXPECT_TRUE(FaceSymbol::paint(*dc, Rect{0, 0, 10, 10}, u"#Color-00FF8040", kMark, 1));
  EXPECT_EQ(dc->pixel(5, 5), (Rgb{0x40, 0x80, 0xFF}));
}

// The shades of (240, 100, 20): x1.15 caps the red channel at 255.
const Rgb kBase{240, 100, 20};
const Rgb kUp15{255, 115, 23}, kUp5{252, 105, 21}, kDown10{216, 90, 18}, kDown15{204, 85, 17},
    kDown30{168, 70, 14}, kDown50{120, 50, 10};

TEST(ShadedBorder, ShadesAreTruncatedPerChannel) {
  const auto s = BorderDrawer::shadesOf(Rgb{100, 20, 255}, true);
  EXPECT_EQ(s.down5, (Rgb{95, 19, 242})) << "x0.95 of 100 is 95, not 94";
  EXPECT_EQ(s.up15, (Rgb{115, 23, 255}));
  EXPECT_EQ(s.down55, (Rgb{45, 9, 114}));
  const auto flat = BorderDrawer::shadesOf(kBase, false);
  EXPECT_EQ(flat.up15, kBase);
  EXPECT_EQ(flat.down50, kBase);
}

// The colour of the middle of each side of a square-cornered border of
// 40 x 30 and what lies just inside it.
struct Sides {
  Rgb top, right, bottom, left;
};

void expectSides(const MemDC& dc, const Sides& want, int n, int bottomRow, bool hasBottom,
                 const std::string& what) {
  for (int k = 0; k < n; ++k) {
    EXPECT_EQ(dc.pixel(20, k), want.top) << what << " top row " << k;
    EXPECT_EQ(dc.pixel(39 - k, 15), want.right) << what << " right column " << k;
    EXPECT_EQ(dc.pixel(k, 15), want.left) << what << " left column " << k;
    if (hasBottom) {
      EXPECT_EQ(dc.pixel(20, bottomRow + k), want.bottom) << what << " bottom " << k;
    }
  }
  EXPECT_EQ(dc.pixel(20, n), probe::kBackground) << what << " inside the top";
  EXPECT_EQ(dc.pixel(n, 15), probe::kBackground) << what << " inside the left";
  if (!hasBottom) {
    EXPECT_EQ(dc.pixel(20, 29), probe::kBackground) << what << " no bottom";
  }
}

TEST(ShadedBorder, SquareCornersGiveEachStyleItsSidesAtScaleOneAndTwo) {
  struct Case {
    int style;
    Sides sides;
    bool hasBottom;
  };
  const Case cases[] = {
      {1, {kUp5, kDown10, kDown15, kBase}, true},   // raised
      {2, {kDown15, kBase, kUp5, kDown10}, true},   // sunken
      {0, {kUp15, kDown30, kDown50, kUp5}, true},   // hover
      {3, {kUp5, kDown10, kDown15, kBase}, false},  // raised without bottom
  };
  for (int scale : {1, 2}) {
    for (const Case& c : cases) {
      const std::string what =
          "style " + std::to_string(c.style) + " scale " + std::to_string(scale);
      auto dc = probe::canvas(40, 30);
      BorderDrawer* border = BorderDrawer::create();
      border->paintBorderAt(*dc, Rect{0, 0, 40, 30}, c.style, 0, kBase, scale);
      // The sunken bottom line starts two pixels above the edge at any
      // scale: one pixel above it at scale 1, on it at scale 2.
      const int bottomRow = c.style == 2 ? 28 : 30 - scale;
      expectSides(*dc, c.sides, scale, bottomRow, c.hasBottom, what);
      if (c.style == 2 && scale == 1) {
        EXPECT_EQ(dc->pixel(20, 29), probe::kBackground) << what << ": bottom edge left free";
      }
      border->release();
    }
  }
}

TEST(ShadedBorder, OpenCornersLeaveTheCornerPixelsOut) {
  for (int scale : {1, 2}) {
    SCOPED_TRACE("scale " + std::to_string(scale));
    auto dc = probe::canvas(40, 30);
    BorderDrawer* border = BorderDrawer::create();
    border->paintBorderAt(*dc, Rect{0, 0, 40, 30}, 1, 1, kBase, scale);
    for (const auto& [x, y] : {std::pair{0, 0}, {39, 0}, {0, 29}, {39, 29}})
      EXPECT_EQ(dc->pixel(x, y), probe::kBackground) << x << "," << y;
    expectSides(*dc, {kUp5, kDown10, kDown15, kBase}, scale, 30 - scale, true, "open");
    if (scale == 2) {
      EXPECT_EQ(dc->pixel(1, 1), kUp5) << "the top-left block cuts the corner";
      EXPECT_EQ(dc->pixel(37, 27), kDown15) << "the bottom-right block";
    }
    border->release();
  }
}

TEST(ShadedBorder, HoverMarksItsOpenCornersLitTopLeftAndDarkBottomRight) {
  for (int u : {1, 2}) {
    SCOPED_TRACE("scale " + std::to_string(u));
    auto dc = probe::canvas(40, 30);
    BorderDrawer* border = BorderDrawer::create();
    border->paintBorderAt(*dc, Rect{0, 0, 40, 30}, 0, 1, kBase, u);
    EXPECT_EQ(dc->pixel(u, 0), kUp15);
    EXPECT_EQ(dc->pixel(0, u), kUp15);
    EXPECT_EQ(dc->pixel(40 - u, 30 - 2 * u), kDown50);
    EXPECT_EQ(dc->pixel(u, 30 - u), kDown30);
    EXPECT_EQ(dc->pixel(40 - 2 * u, 30 - u), (Rgb{108, 45, 9}));  // x0.45
    EXPECT_EQ(dc->pixel(0, 0), probe::kBackground);
    border->release();
  }
}

TEST(ShadedBorder, OffDrawsEverySideInTheBaseColourAndUnknownStylesNothing) {
  auto dc = probe::canvas(40, 30);
  BorderDrawer* border = BorderDrawer::create();
  border->setShaded(false);
  border->paintBorderAt(*dc, Rect{0, 0, 40, 30}, 0, 0, kBase, 1);
  expectSides(*dc, {kBase, kBase, kBase, kBase}, 1, 29, true, "unshaded");
  border->reset();
  for (const auto& [style, kind] : {std::pair{4, 0}, {-1, 1}, {1, 3}}) {
    auto blank = probe::canvas(40, 30);
    border->paintBorderAt(*blank, Rect{0, 0, 40, 30}, style, kind, kBase, 1);
    EXPECT_EQ(probe::inkBox(*blank, probe::whole(*blank)).width, 0) << style << "/" << kind;
  }
  border->release();
}

TEST(ThinButton, FrameColourAndStyleFollowStateEnabledAndPushedLook) {
  const Rgb enabled{100, 100, 200}, disabled{150, 150, 150}, pushed{60, 200, 60}, fill{10, 20, 30};
  const auto shades = [](Rgb c) { return BorderDrawer::shadesOf(c, true); };
  struct Case {
    const char* name;
    int state;
    bool enabled;
    bool pushedLook;
    Rgb top;  // the top side's colour
    bool filled;
  };
  const Case cases[] = {
      {"normal: raised", 0, true, false, shades(enabled).up5, false},
      {"hover: lit", 1, true, false, shades(enabled).up15, false},
      {"pressed: sunken", 2, true, false, shades(enabled).down15, false},
      {"disabled", 0, false, false, shades(disabled).up5, false},
      {"pushed look, hover shows sunken", 1, true, true, shades(pushed).down15, true},
      {"pushed look, pressed shows lit", 2, true, true, shades(pushed).up15, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ButtonDrawer* button = ButtonDrawer::create();
    button->setEnabledColor(enabled.r, enabled.g, enabled.b);
    button->setDisabledColor(disabled.r, disabled.g, disabled.b);
    button->setPushedColor(pushed.r, pushed.g, pushed.b);
    button->setFillColor(fill.r, fill.g, fill.b);
    auto dc = probe::canvas(60, 24);
    ButtonDrawer::Face face;
    face.state = c.state;
    face.enabled = c.enabled;
    face.pushedLook = c.pushedLook;
    button->paintButtonAt(*dc, Rect{0, 0, 60, 24}, face, 1);
    EXPECT_EQ(dc->pixel(30, 0), c.top);
    EXPECT_EQ(dc->pixel(30, 12), c.filled ? fill : probe::kBackground);
    // Kind 1 at scale 1: the four corners stay the parent's background.
    for (const auto& [x, y] : {std::pair{0, 0}, {59, 0}, {0, 23}, {59, 23}})
      EXPECT_EQ(dc->pixel(x, y), probe::kBackground) << x << "," << y;
    button->release();
  }
}

TEST(ThinButton, CloseCrossSitsTwoPixelsInsideTheFrameAndMovesWithShift) {
  struct Case {
    bool shift;
    int state;
    int dx;  // where the falling stroke starts, relative to the unshifted (6, 3)
  };
  const Case cases[] = {{false, 0, 0}, {false, 1, 0}, {true, 0, 0}, {true, 1, -1}, {true, 2, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE("shift " + std::to_string(c.shift) + " state " + std::to_string(c.state));
    ButtonDrawer* button = ButtonDrawer::create();
    button->setEnabledColor(kMark.r, kMark.g, kMark.b);
    button->setShiftText(c.shift);
    auto dc = probe::canvas(24, 18);
    ButtonDrawer::Face face;
    face.state = c.state;
    face.text = u"#X";
    face.drawFlag = false;  // no frame: only the cross
    button->paintButtonAt(*dc, Rect{0, 0, 24, 18}, face, 1);
    // Content (2, 2, 20 x 14): the cross's 12 x 12 square from (6, 3).
    EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)), (Rect{6 + c.dx, 3 + c.dx, 12, 12}));
    EXPECT_EQ(dc->pixel(6 + c.dx, 3 + c.dx), kMark);
    button->release();
  }
}

TEST(ThinButton, CaptionIsTextOnlyWithAFont) {
  ButtonDrawer* button = ButtonDrawer::create();
  Font* font = Font::create();
  font->setTextColor(250, 250, 0);
  for (const bool withFont : {false, true}) {
    auto dc = probe::canvas(80, 30);
    ButtonDrawer::Face face;
    face.text = u"#x";  // not a symbol: shown as text
    face.drawFlag = false;
    face.font = withFont ? font : nullptr;
    button->paintButtonAt(*dc, Rect{0, 0, 80, 30}, face, 1);
    const Rect ink =
        probe::box(*dc, probe::whole(*dc), [](Rgb p) { return p.r > 200 && p.b < 60; });
    EXPECT_EQ(ink.width > 0, withFont) << "font " << withFont;
  }
  font->release();
  button->release();
}

TEST(WindowFrame, BorderAlongTheEdgesAndTheBackgroundOnlyWhenSet) {
  const Rgb border{17, 17, 17}, fill{116, 116, 116};
  for (const bool withBackground : {false, true}) {
    SCOPED_TRACE(withBackground ? "background" : "no background");
    FrameDrawer* frame = FrameDrawer::create();
    frame->setBorderColor(border.r, border.g, border.b);
    if (withBackground) frame->setBackground(fill.r, fill.g, fill.b);
    auto dc = probe::canvas(50, 40);
    frame->paint(*dc, 0, 0, 50, 40);
    const int edges = 50 * 2 + 38 * 2;
    EXPECT_EQ(probe::count(*dc, probe::whole(*dc), border), edges);
    EXPECT_EQ(dc->pixel(25, 20), withBackground ? fill : probe::kBackground);
    EXPECT_EQ(dc->pixel(1, 1), withBackground ? fill : probe::kBackground) << "square corner";
    frame->release();
  }
}

TEST(WindowFrame, SmallRoundedCornersAddTwoPixelsInsideEachRoundedCorner) {
  FrameDrawer* frame = FrameDrawer::create();
  frame->setTopCorners(1);
  auto dc = probe::canvas(50, 40);
  frame->paint(*dc, 0, 0, 50, 40);
  const Rgb border = frame->getBorderColor();
  for (const int x : {0, 1, 48, 49}) EXPECT_EQ(dc->pixel(x, 1), border) << x;
  EXPECT_EQ(dc->pixel(1, 38), probe::kBackground) << "the bottom corners stay square";
  frame->release();
}

TEST(WindowFrame, RegionByCornerStyles) {
  struct Case {
    int top, bottom;
    bool present;
    int ellipse;
    std::vector<std::pair<int, int>> in, out;
  };
  // A window of 100 x 80 moved to (0, 0).
  const Case cases[] = {
      {0,
       0,
       true,
       0,
       {{0, 0}, {99, 79}, {100, 80}, {100, 0}, {0, 80}},
       {{101, 0}, {0, 81}, {-1, 0}}},
      {1, 1, true, 5, {{50, 0}, {100, 40}, {2, 2}}, {{0, 0}, {100, 0}, {0, 80}, {100, 80}}},
      {1, 0, true, 5, {{0, 80}, {100, 80}, {0, 77}}, {{0, 0}, {100, 0}}},
      {0, 1, true, 5, {{0, 0}, {100, 0}, {0, 3}}, {{0, 80}, {100, 80}}},
      {2, 2, true, 11, {{50, 0}, {5, 5}}, {{0, 0}, {1, 1}, {100, 80}}},
      {2, 0, true, 11, {{0, 80}, {0, 75}}, {{1, 1}}},
      {3, 3, false, 0, {}, {{50, 40}}},
      {0, 3, false, 0, {}, {{50, 40}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("corners " + std::to_string(c.top) + "/" + std::to_string(c.bottom));
    FrameDrawer* frame = FrameDrawer::create();
    frame->setTopCorners(c.top);
    frame->setBottomCorners(c.bottom);
    const Region region = frame->makeRegion(0, 0, 100, 80);
    EXPECT_EQ(region.present, c.present);
    if (c.present) {
      EXPECT_EQ(region.bounds, (Rect{0, 0, 101, 81})) << "one pixel larger right and bottom";
      EXPECT_EQ(region.ellipse, c.ellipse);
    }
    for (const auto& [x, y] : c.in) EXPECT_TRUE(region.contains(x, y)) << x << "," << y;
    for (const auto& [x, y] : c.out) EXPECT_FALSE(region.contains(x, y)) << x << "," << y;
    frame->release();
  }
}

TEST(ThinStatusBar, PaintsNothingAndIsThirteenHigh) {
  auto* bar = s::gui::drawer::statusbar::win::Thin::create();
  bar->setGrip(true);
  bar->setColor(1, 2, 3);
  auto dc = probe::canvas(200, 13);
  bar->paint(*dc, 0, 0, 200, 13);
  EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)).width, 0);
  EXPECT_EQ(bar->getHeight(), 13);
  bar->release();
}

TEST(ThinDrawers, EmptyRectanglesDrawNothing) {
  ButtonDrawer* button = ButtonDrawer::create();
  FrameDrawer* frame = FrameDrawer::create();
  frame->setBackground(1, 2, 3);
  BorderDrawer* border = BorderDrawer::create();
  for (const Rect& r : {Rect{0, 0, 0, 20}, Rect{0, 0, 20, 0}, Rect{30, 5, -10, 10}}) {
    auto dc = probe::canvas(40, 30);
    button->paintButton(*dc, r.x, r.y, r.right(), r.bottom(), 0, u"#X", true, nullptr, true, true,
                        false);
    frame->paint(*dc, r.x, r.y, r.right(), r.bottom());
    border->paintBorder(*dc, r.x, r.y, r.right(), r.bottom(), 1, 0, 9, 9, 9);
    EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)).width, 0) << r.x << " " << r.width;
  }
  border->release();
  frame->release();
  button->release();
}

}  // namespace
