// The basic drawers of menu bars, status bars, resize grips and the line
// under a window's menu, painting into memory surfaces.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SurfaceProbe.h"
#include "gui/Scale.h"
#include "gui/drawer/border/win/UnderWindowMenu.h"
#include "gui/drawer/menu/win/Basic.h"
#include "gui/drawer/statusbar/win/Basic.h"
#include "gui/drawer/statusbar/win/BasicResizer.h"
#include "gui/win/Font.h"
#include "gui/win/FontSetting.h"

namespace {

using s::gui::win::Font;
using s::os::gui::MemDC;
using s::os::gui::Rect;
using s::os::gui::Rgb;
using MenuDrawer = s::gui::drawer::menu::win::Basic;
using StatusBarDrawer = s::gui::drawer::statusbar::win::Basic;
using GripDrawer = s::gui::drawer::statusbar::win::BasicResizer;
using LineDrawer = s::gui::drawer::border::win::UnderWindowMenu;

const Rgb kWhite{255, 255, 255};
const Rgb kShade{184, 181, 161};

// Where the grip's six dots are for a w x h rectangle (the white square's
// top-left corner).
std::vector<std::pair<int, int>> gripDots(int w, int h) {
  return {{w - 3, h - 11}, {w - 3, h - 7}, {w - 7, h - 7},
          {w - 3, h - 3},  {w - 7, h - 3}, {w - 11, h - 3}};
}

// The grip of a w x h rectangle, drawn from the surface's origin: each dot
// a shade square with a white L at its lower right, nothing else.
void expectGrip(const MemDC& dc, int w, int h, const std::string& what) {
  std::int32_t marked = 0;
  for (const auto& [x, y] : gripDots(w, h)) {
    EXPECT_EQ(dc.pixel(x - 1, y - 1), kShade) << what << " dot " << x << "," << y;
    EXPECT_EQ(dc.pixel(x, y), kShade) << what << " dot " << x << "," << y;
    EXPECT_EQ(dc.pixel(x + 1, y), kWhite) << what << " dot " << x << "," << y;
    EXPECT_EQ(dc.pixel(x, y + 1), kWhite) << what << " dot " << x << "," << y;
    EXPECT_EQ(dc.pixel(x + 1, y + 1), kWhite) << what << " dot " << x << "," << y;
    marked += 7;  // 4 shade + 3 white pixels
  }
  EXPECT_EQ(probe::count(dc, probe::whole(dc), kShade) + probe::count(dc, probe::whole(dc), kWhite),
            marked)
      << what << ": nothing but the dots";
}

TEST(GripDrawing, SixDotsPlacedFromTheOriginByTheRectanglesSize) {
  // The rectangle's own position does not move the dots; its size does.
  for (const Rect& r : {Rect{0, 0, 30, 20}, Rect{5, 7, 30, 20}, Rect{0, 0, 12, 12}}) {
    auto dc = probe::canvas(40, 30);
    GripDrawer* grip = GripDrawer::create();
    grip->paint(*dc, r.x, r.y, r.right(), r.bottom());
    expectGrip(*dc, r.width, r.height, std::to_string(r.x) + "," + std::to_string(r.y));
    grip->release();
  }
}

TEST(StatusBarDrawing, PaintsOnlyWhatIsSwitchedOn) {
  struct Case {
    const char* name;
    bool grip;
    std::function<void(const MemDC&)> check;
  };
  const Case cases[] = {
      {"a new status bar paints nothing", false,
       [](const MemDC& dc) { EXPECT_EQ(probe::inkBox(dc, probe::whole(dc)).width, 0); }},
      {"the grip in the corner", true, [](const MemDC& dc) { expectGrip(dc, 300, 23, "bar"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StatusBarDrawer* bar = StatusBarDrawer::create();
    if (c.grip) bar->setGrip(true);
    auto dc = probe::canvas(300, 23);
    bar->paint(*dc, 0, 0, 300, 23);
    c.check(*dc);
    bar->release();
  }
  StatusBarDrawer* bar = StatusBarDrawer::create();
  EXPECT_EQ(bar->getHeight(), 23 * s::gui::Scale::factor());
  for (const auto& [scale, height] : {std::pair{1, 23}, {2, 46}, {4, 92}})
    EXPECT_EQ(StatusBarDrawer::heightAt(scale), height);
  bar->setGrip(true);
  bar->reset();
  auto dc = probe::canvas(300, 23);
  bar->paint(*dc, 0, 0, 300, 23);
  EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)).width, 0) << "reset turns the grip off";
  bar->release();
}

TEST(UnderMenuLine, TwoFullWidthLinesDarkOverWhite) {
  // The rectangle's width decides the length; the lines start at the
  // surface's origin.
  for (const Rect& r : {Rect{0, 0, 400, 30}, Rect{10, 5, 400, 30}}) {
    auto dc = probe::canvas(420, 40);
    LineDrawer* line = LineDrawer::create();
    line->setColor(1, 2, 3);  // has no effect
    line->paint(*dc, r.x, r.y, r.right(), r.bottom());
    EXPECT_EQ(probe::count(*dc, Rect{0, 0, 400, 1}, LineDrawer::kDark), 400) << r.x;
    EXPECT_EQ(probe::count(*dc, Rect{0, 1, 400, 1}, kWhite), 400) << r.x;
    EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)), (Rect{0, 0, 400, 2})) << r.x;
    line->release();
  }
}

// Every drawer leaves an empty rectangle alone.
TEST(EmptyRectangles, DrawNothing) {
  Font* font = Font::create();
  StatusBarDrawer* bar = StatusBarDrawer::create();
  bar->setGrip(true);
  bar->setClassicBand(true);
  GripDrawer* grip = GripDrawer::create();
  LineDrawer* line = LineDrawer::create();
  MenuDrawer* menu = MenuDrawer::create();
  const std::vector<std::u16string> entries{u"File", u"Help"};
  const std::vector<Rect> rects{{0, 0, 40, 20}, {40, 0, 40, 20}};
  struct Painter {
    const char* name;
    std::function<void(MemDC&, int, int, int, int)> paint;
  };
  const Painter painters[] = {
      {"status bar", [&](MemDC& dc, int l, int t, int r, int b) { bar->paint(dc, l, t, r, b); }},
      {"grip", [&](MemDC& dc, int l, int t, int r, int b) { grip->paint(dc, l, t, r, b); }},
      {"line", [&](MemDC& dc, int l, int t, int r, int b) { line->paint(dc, l, t, r, b); }},
      {"menu",
       [&](MemDC& dc, int l, int t, int r, int b) {
         menu->paintEntries(dc, l, t, r, b, entries, rects, font, font, 6, 3, 0, false, false,
                            false, false);
       }},
      {"single-entry menu",
       [&](MemDC& dc, int l, int t, int r, int b) {
         menu->paintEntries(dc, l, t, r, b, entries, rects, font, font, 6, 3, 0, false, true, false,
                            false);
       }},
  };
  for (const Painter& p : painters) {
    for (const Rect& r : {Rect{0, 0, 0, 30}, Rect{0, 0, 100, 0}, Rect{50, 0, -10, 30}}) {
      auto dc = probe::canvas(100, 30);
      p.paint(*dc, r.x, r.y, r.right(), r.bottom());
      EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)).width, 0)
          << p.name << " in " << r.x << "," << r.y << " " << r.width << "x" << r.height;
    }
  }
  menu->release();
  line->release();
  grip->release();
  bar->release();
  font->release();
}

// A menu bar of three entries measured and painted by the drawer.
class MenuDrawing : public ::testing::Test {
 protected:
  static constexpr int kPadX = 6;
  static constexpr int kPadY = 3;
  static constexpr Rgb kFill{250, 200, 0};
  static constexpr Rgb kText{20, 20, 20};
  static constexpr Rgb kHoverText{0, 140, 0};
  static constexpr Rgb kLink{0, 0, 204};

  void SetUp() override {
    normal_ = Font::create();
    hover_ = Font::create();
    for (Font* f : {normal_, hover_}) f->setHeight(-20);
    drawer_ = MenuDrawer::create();
    drawer_->setHoverFill(kFill.r, kFill.g, kFill.b);
    drawer_->setNormalTextColor(kText.r, kText.g, kText.b);
    drawer_->setHoverTextColor(kHoverText.r, kHoverText.g, kHoverText.b);
    drawer_->applyToFonts(normal_, hover_);
    auto dc = probe::canvas(1, 1);
    drawer_->measureEntries(*dc, entries_, rects_, normal_, prefW_, prefH_, maxW_, maxH_, kPadX,
                            kPadY, false);
  }
  void TearDown() override {
    drawer_->release();
    hover_->release();
    normal_->release();
  }

  // Paints the bar into a surface wider than the entries.
  std::unique_ptr<MemDC> paint(std::int32_t hovered, bool pressed, bool lastRight = false,
                               bool lastLink = false, bool single = false) {
    auto dc = probe::canvas(kBarWidth, prefH_);
    drawer_->paintEntries(*dc, 0, 0, kBarWidth, prefH_, entries_, rects_, normal_, hover_, kPadX,
                          kPadY, hovered, pressed, single, lastRight, lastLink);
    return dc;
  }
  // Where entry i's pixels of `colour` are.
  Rect inkOf(const MemDC& dc, std::size_t i, Rgb colour, std::int32_t shift = 0) {
    Rect q = rects_[i];
    q.x += shift;
    return probe::box(dc, q, [colour](Rgb p) { return p == colour; });
  }

  static constexpr int kBarWidth = 400;
  std::vector<std::u16string> entries_{u"File", u"View", u"Help"};
  std::vector<Rect> rects_;
  std::int32_t prefW_ = 0, prefH_ = 0, maxW_ = 0, maxH_ = 0;
  Font* normal_ = nullptr;
  Font* hover_ = nullptr;
  MenuDrawer* drawer_ = nullptr;
};

TEST_F(MenuDrawing, EntriesAreMeasuredSideBySideWithTheirPadding) {
  auto dc = probe::canvas(1, 1);
  ASSERT_EQ(rects_.size(), 3u);
  std::int32_t x = 0;
  for (std::size_t i = 0; i < rects_.size(); ++i) {
    const auto text =
        dc->measureText(entries_[i], normal_->getPlatformFont(), -1, s::os::gui::kTextSingleLine);
    EXPECT_EQ(rects_[i], (Rect{x, 0, text.width + 2 * kPadX, text.height + 2 * kPadY})) << i;
    x += rects_[i].width;
  }
  EXPECT_EQ(prefW_, x);
  EXPECT_EQ(prefH_, rects_[0].height);
  EXPECT_EQ(maxW_, x);
  EXPECT_EQ(maxH_, prefH_);

  // A taller entry (two lines in a wrapping font) makes every entry as
  // tall; single-entry bars are larger.
  Font* wrapping = Font::create();
  wrapping->setWordWrap(true);
  std::vector<Rect> rects;
  std::int32_t w = 0, h = 0, mw = 0, mh = 0;
  drawer_->measureEntries(*dc, {u"File", u"Two\nlines"}, rects, wrapping, w, h, mw, mh, kPadX,
                          kPadY, false);
  ASSERT_EQ(rects.size(), 2u);
  const auto twoLines =
      dc->measureText(u"Two\nlines", wrapping->getPlatformFont(), -1, s::os::gui::kTextWordWrap);
  EXPECT_EQ(rects[0].height, twoLines.height + 2 * kPadY);
  EXPECT_EQ(rects[1].height, twoLines.height + 2 * kPadY);
  EXPECT_EQ(h, twoLines.height + 2 * kPadY);
  wrapping->release();
  std::int32_t singleW = 0, singleH = 0;
  drawer_->measureEntries(*dc, {u"File"}, rects, normal_, singleW, singleH, mw, mh, kPadX, kPadY,
                          true);
  EXPECT_EQ(singleW, rects_[0].width + 15);
  EXPECT_EQ(singleH, rects_[0].height + 4);
  drawer_->measureEntries(*dc, {}, rects, normal_, w, h, mw, mh, kPadX, kPadY, false);
  EXPECT_TRUE(rects.empty());
  EXPECT_EQ(w + h + mw + mh, 0);
}

TEST_F(MenuDrawing, TheHoveredEntryIsFilledUnlessItIsTheLast) {
  struct Case {
    std::int32_t hovered;
    bool filled;
  };
  for (const Case& c : {Case{-1, false}, Case{0, true}, Case{1, true}, Case{2, false}}) {
    auto dc = paint(c.hovered, false);
    for (std::size_t i = 0; i < rects_.size(); ++i) {
      const bool expectFill = c.filled && static_cast<std::int32_t>(i) == c.hovered;
      const Rect fill = inkOf(*dc, i, kFill);
      EXPECT_EQ(fill, expectFill ? rects_[i] : Rect{})
          << "hovered " << c.hovered << ", entry " << i;
      // The filled entry is written in the hover font, the others in the
      // normal one.
      EXPECT_GT(inkOf(*dc, i, expectFill ? kHoverText : kText).width, 0)
          << "hovered " << c.hovered << ", entry " << i;
      EXPECT_EQ(inkOf(*dc, i, expectFill ? kText : kHoverText).width, 0)
          << "hovered " << c.hovered << ", entry " << i;
    }
  }
  drawer_->setFillOnHover(false);
  auto dc = paint(0, false);
  EXPECT_EQ(inkOf(*dc, 0, kFill).width, 0);
  EXPECT_EQ(inkOf(*dc, 0, kHoverText).width, 0) << "no fill, no hover font";
}

TEST_F(MenuDrawing, ALinkEntryIsBlueAndUnderlinedOnlyWhileHovered) {
  auto resting = paint(-1, false, false, true);
  auto hovered = paint(2, false, false, true);
  EXPECT_GT(inkOf(*resting, 2, kLink).width, 0);
  EXPECT_EQ(inkOf(*resting, 2, kText).width, 0) << "not in the normal colour";
  // Hovering adds a line under the whole word: a row where the hovered bar
  // has ink over most of the text's width and the resting one has none.
  const Rect q = rects_[2];
  const std::int32_t textWidth = q.width - 2 * kPadX;
  std::int32_t longest = 0;
  for (std::int32_t y = q.y; y < q.bottom(); ++y) {
    std::int32_t run = 0;
    for (std::int32_t x = q.x; x < q.right(); ++x)
      run +=
          hovered->pixel(x, y) != probe::kBackground && resting->pixel(x, y) == probe::kBackground
              ? 1
              : 0;
    longest = std::max(longest, run);
  }
  EXPECT_GE(longest, textWidth * 3 / 4) << "underlined while hovered, not at rest";
  EXPECT_EQ(inkOf(*hovered, 2, kFill).width, 0) << "a link is never filled";
  EXPECT_EQ(inkOf(*hovered, 0, kLink).width, 0) << "only the last entry is a link";
  // The bar's font is left as it was, so a later look still reaches it.
  EXPECT_EQ(normal_->getTextColor(), kText);
  EXPECT_FALSE(normal_->isUnderline());
  EXPECT_FALSE(normal_->getLogicalFont().isChanged(s::gui::LogicalFont::kTextColor));
  EXPECT_FALSE(normal_->getLogicalFont().isChanged(s::gui::LogicalFont::kUnderline));
}

TEST_F(MenuDrawing, TheLastEntryCanSitAtTheRightEnd) {
  const std::int32_t shift = kBarWidth - rects_[2].right();
  auto dc = paint(-1, false, true);
  EXPECT_EQ(inkOf(*dc, 2, kText).width, 0) << "moved away from its measured place";
  const Rect ink = inkOf(*dc, 2, kText, shift);
  EXPECT_GT(ink.width, 0);
  EXPECT_GE(ink.x, rects_[2].x + shift + kPadX - 1);
  EXPECT_LE(ink.right(), kBarWidth - kPadX + 1);
  EXPECT_GT(inkOf(*dc, 0, kText).width, 0) << "the others stay";
}

TEST_F(MenuDrawing, RaisedEntriesMoveTheHoveredTextWithThePress) {
  drawer_->setRaised(true);
  drawer_->setFillOnHover(false);
  struct Case {
    const char* name;
    std::int32_t entry;
    bool lastRight;
    std::int32_t dx;  // between pressed and released (+1 and -1 each way)
  };
  for (const Case& c :
       {Case{"an entry", 0, false, 2}, Case{"the right-aligned entry", 2, true, 0}}) {
    const std::int32_t shift = c.lastRight ? kBarWidth - rects_[2].right() : 0;
    auto plain = paint(-1, false, c.lastRight);
    auto up = paint(c.entry, false, c.lastRight);
    auto down = paint(c.entry, true, c.lastRight);
    const Rect atRest = inkOf(*plain, c.entry, kText, shift);
    const Rect raised = inkOf(*up, c.entry, kText, shift);
    const Rect pressed = inkOf(*down, c.entry, kText, shift);
    ASSERT_GT(atRest.width, 0) << c.name;
    EXPECT_EQ(raised.y, atRest.y - 1) << c.name;
    EXPECT_EQ(pressed.y, atRest.y + 1) << c.name;
    EXPECT_EQ(pressed.x - raised.x, c.dx) << c.name;
    EXPECT_EQ(atRest.x - raised.x, c.dx / 2) << c.name;
  }
  // Not raised: the hovered text stays put.
  drawer_->setRaised(false);
  auto plain = paint(-1, false);
  auto down = paint(0, true);
  EXPECT_EQ(inkOf(*down, 0, kText), inkOf(*plain, 0, kText));
}

TEST_F(MenuDrawing, ASingleEntryBarIsOneDropDownField) {
  struct Case {
    std::int32_t hovered;
    bool pressed;
  };
  const Rgb frame{120, 120, 120};
  for (const Case& c : {Case{-1, false}, Case{0, false}, Case{0, true}}) {
    auto dc = paint(c.hovered, c.pressed, false, false, true);
    // The field's frame runs round the whole bar.
    EXPECT_EQ(dc->pixel(0, 0), frame);
    EXPECT_EQ(dc->pixel(kBarWidth - 1, prefH_ - 1), frame);
    EXPECT_EQ(dc->pixel(kBarWidth / 2, 0), frame);
    EXPECT_EQ(probe::count(*dc, probe::whole(*dc), kFill), 0) << "no entry is filled";
    // The field writes the first entry in its own colour; no entry is
    // written as a bar entry.
    EXPECT_GT(probe::count(*dc, probe::whole(*dc), Rgb{0, 0, 0}), 0);
    EXPECT_EQ(probe::count(*dc, probe::whole(*dc), kText), 0);
    // Mouse over and pressed thicken the frame.
    EXPECT_EQ(dc->pixel(1, prefH_ / 2) == frame, c.hovered == 0) << c.hovered << c.pressed;
  }
  // No entries: nothing.
  auto dc = probe::canvas(kBarWidth, prefH_);
  drawer_->paintEntries(*dc, 0, 0, kBarWidth, prefH_, {}, {}, normal_, hover_, kPadX, kPadY, 0,
                        false, true, false, false);
  EXPECT_EQ(probe::inkBox(*dc, probe::whole(*dc)).width, 0);
}

TEST_F(MenuDrawing, ResetReadsTheSystemColoursAgain) {
  drawer_->reset();
  EXPECT_EQ(drawer_->getNormalSetting()->getSizeCode(), -2);
  EXPECT_EQ(drawer_->getHoverSetting()->getSizeCode(), -2);
  EXPECT_EQ(drawer_->getHoverSetting()->getTextColor(), MenuDrawer::systemHighlightText());
  EXPECT_EQ(drawer_->getNormalSetting()->getTextColor(), (Rgb{0, 0, 0}));
  auto dc = paint(0, false);
  EXPECT_EQ(inkOf(*dc, 0, MenuDrawer::systemHighlight()), rects_[0]) << "fills on hover again";
}

}  // namespace
