// The drawing surface: text laid out by the flags the toolkit uses, and
// pixels where they were painted.

#include <gtest/gtest.h>

#include "os/gui/MemDC.h"
#include "os/gui/Ui.h"

namespace {

using namespace s::os::gui;

std::unique_ptr<MemDC> surface(int width = 200, int height = 100) {
  return ui().createMemDC(width, height);
}

TEST(MemDC, WordWrapBreaksBetweenWordsAndEllipsisKeepsToTheWidth) {
  auto dc = surface();
  const FontSpec font;
  const std::u16string text = u"Erase Recoverable Data Now! Some operation has been canceled.";
  const Size oneLine = dc->measureText(text, font, -1, kTextSingleLine);
  const Size wrapped = dc->measureText(text, font, 120, kTextWordWrap);
  EXPECT_LE(wrapped.width, 120);
  EXPECT_GE(wrapped.height, 3 * oneLine.height);
  const Size cut = dc->measureText(text, font, 120, kTextSingleLine | kTextEndEllipsis);
  EXPECT_LE(cut.width, 120);
  EXPECT_EQ(cut.height, oneLine.height);
  EXPECT_GT(oneLine.width, 120);
  EXPECT_EQ(dc->measureText(u"", font, -1, kTextSingleLine).width, 0);
  EXPECT_GT(dc->measureText(u"", font, -1, kTextSingleLine).height, 0)
      << "an empty text is one line high";
  // "&" is shown, not taken as a mnemonic marker.
  EXPECT_GT(dc->measureText(u"A&B", font, -1, kTextSingleLine).width,
            dc->measureText(u"AB", font, -1, kTextSingleLine).width);
  // A lone surrogate from a hostile name is drawn as something, never a crash.
  const std::u16string broken{u'A', static_cast<char16_t>(0xD800), u'B'};
  EXPECT_GT(dc->measureText(broken, font, -1, kTextSingleLine).width, 0);
}

TEST(MemDC, PaintsWhereAskedAndCentresText) {
  auto dc = surface(100, 40);
  dc->fillRect(Rect{0, 0, 100, 40}, Rgb{255, 255, 255});
  dc->fillRect(Rect{10, 10, 5, 5}, Rgb{200, 0, 0});
  EXPECT_EQ(dc->pixel(12, 12), (Rgb{200, 0, 0}));
  EXPECT_EQ(dc->pixel(16, 12), (Rgb{255, 255, 255}));
  EXPECT_EQ(dc->pixel(500, 500), (Rgb{})) << "outside: black";
  dc->fillRect(Rect{0, 0, 100, 40}, Rgb{255, 255, 255});
  dc->drawText(u"I", Rect{0, 0, 100, 40}, FontSpec{}, Rgb{0, 0, 0},
               kTextSingleLine | kTextCenter | kTextVCenter);
  int leftmost = 100, rightmost = -1;
  for (int x = 0; x < 100; ++x) {
    for (int y = 0; y < 40; ++y) {
      if (dc->pixel(x, y).r < 128) {
        leftmost = std::min(leftmost, x);
        rightmost = std::max(rightmost, x);
      }
    }
  }
  ASSERT_GE(rightmost, 0) << "nothing drawn";
  EXPECT_NEAR((leftmost + rightmost) / 2.0, 50, 3);
}

}  // namespace
