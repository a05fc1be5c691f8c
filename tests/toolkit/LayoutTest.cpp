// Boxes placing test blocks of chosen sizes, without a display (no native
// controls: geometry is kept and read back).

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gui/Scale.h"
#include "gui/drawer/statusbar/win/Basic.h"
#include "gui/win/Box.h"
#include "gui/win/Component.h"
#include "gui/win/Spacer.h"
#include "gui/win/StatusBar.h"

namespace {

using s::gui::IBox;
using s::gui::IComponent;
using s::gui::win::Box;
using s::gui::win::Spacer;
using s::gui::win::StatusBar;
using s::os::gui::Rect;

// A leaf with a preferred and a maximum size.
class Block final : public s::gui::win::Component {
 public:
  Block(std::int32_t w, std::int32_t h, std::int32_t maxW, std::int32_t maxH)
      : Component(s::os::gui::WidgetKind::kDrawn, s::os::gui::AccessibleRole::kPanel) {
    setPreferredSize(w, h);
    setMaximumSize(maxW, maxH);
  }
  Rect bounds() { return Rect{getX(), getY(), getWidth(), getHeight()}; }
};

// A box of a given size holding blocks; gives everything back at the end.
class Bench {
 public:
  Bench(std::int32_t direction, std::int32_t w, std::int32_t h) : box_(Box::make(direction)) {
    box_->setSize(w, h);
  }
  // Back to the pool: the box lets go of its children without laying out
  // (listeners of a test may already be gone).
  ~Bench() { box_->release(); }
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;

  Block& block(std::int32_t w, std::int32_t h, std::int32_t maxW, std::int32_t maxH) {
    blocks_.push_back(std::make_unique<Block>(w, h, maxW, maxH));
    box_->add(blocks_.back().get());
    return *blocks_.back();
  }
  Block& at(std::size_t i) { return *blocks_.at(i); }
  Box& box() { return *box_; }

 private:
  Box* box_;
  std::vector<std::unique_ptr<Block>> blocks_;
};

// --- column ---------------------------------------------------------------------------

struct SpareCase {
  std::int32_t vAlign;
  std::int32_t gap;
  std::int32_t firstY;
  std::int32_t secondY;
};

class ColumnSpare : public ::testing::TestWithParam<SpareCase> {};

TEST_P(ColumnSpare, ChildrenAtTheirMaximumLeaveTheSpareBelowAroundOrAbove) {
  const SpareCase c = GetParam();
  Bench bench(IBox::kColumn, 100, 100);
  bench.block(40, 10, 40, 10);
  bench.block(40, 20, 40, 20);
  bench.box().setGapY(c.gap);
  if (c.vAlign == 1) bench.box().alignMiddle();
  if (c.vAlign == 2) bench.box().alignBottom();
  bench.box().layout();
  EXPECT_EQ(bench.at(0).bounds(), (Rect{0, c.firstY, 40, 10}));
  EXPECT_EQ(bench.at(1).bounds(), (Rect{0, c.secondY, 40, 20}));
  EXPECT_EQ(bench.box().getPreferredHeight(), 30 + c.gap);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ColumnSpare,
                         ::testing::Values(SpareCase{0, 0, 0, 10}, SpareCase{1, 0, 35, 45},
                                           SpareCase{2, 0, 70, 80}, SpareCase{0, 5, 0, 15},
                                           SpareCase{1, 5, 32, 47}, SpareCase{2, 5, 65, 80}));

TEST(Layouts, NoGapFollowsAZeroHeightChildAndNoneTrailsTheColumn) {
  Bench bench(IBox::kColumn, 50, 0);
  bench.block(10, 10, 10, 10);
  bench.block(10, 0, 10, 0);
  bench.block(10, 10, 10, 10);
  bench.block(10, 0, 10, 0);
  bench.block(10, 0, 10, 0);
  bench.box().setGapY(5);
  bench.box().layout();
  // A gap after the first child only: the zero-height ones add none, and
  // the gap before the trailing zero-height children is taken back.
  EXPECT_EQ(bench.at(1).getY(), 15);
  EXPECT_EQ(bench.at(2).getY(), 15);
  EXPECT_EQ(bench.box().getPreferredHeight(), 25);
  EXPECT_EQ(bench.box().getMaximumHeight(), 25);
}

TEST(Layouts, SpareHeightGoesByWhatEachChildCanStillTakeAndTheLeftoverToTheFirst) {
  // Room to grow: 30 and 60 (90 in all) for 40 spare pixels: 13.33 and
  // 26.67, truncated to 13 and 26; the pixel left goes to the first child.
  Bench bench(IBox::kColumn, 100, 60);
  bench.block(10, 10, 10, 40);
  bench.block(10, 10, 10, 70);
  bench.box().layout();
  EXPECT_EQ(bench.at(0).bounds(), (Rect{0, 0, 10, 24}));
  EXPECT_EQ(bench.at(1).bounds(), (Rect{0, 24, 10, 36}));
}

TEST(Layouts, AlignmentAcrossTheColumnAndWidthsWithinLimits) {
  Bench bench(IBox::kColumn, 100, 100);
  bench.block(20, 10, 20, 10);
  bench.block(30, 10, 500, 10);  // grows to the column's width
  bench.box().alignRight();
  bench.box().layout();
  EXPECT_EQ(bench.at(0).bounds(), (Rect{80, 0, 20, 10}));
  EXPECT_EQ(bench.at(1).bounds(), (Rect{0, 10, 100, 10}));
  EXPECT_EQ(bench.box().getPreferredWidth(), 30);
  EXPECT_EQ(bench.box().getMaximumWidth(), 500);
}

TEST(Layouts, AHundredPercentBoxTakesTheWholeWidthOfItsParent) {
  Bench bench(IBox::kColumn, 500, 200);
  Box* inner = Box::make(IBox::kColumn, 0, 100.0f);
  Block leaf(30, 10, 30, 10);
  inner->add(&leaf);
  bench.box().add(inner);
  EXPECT_EQ(inner->getMaximumWidth(), 500);
  EXPECT_EQ(inner->getWidth(), 500);
  EXPECT_EQ(inner->getPreferredWidth(), 30);
  inner->removeAll(false);
  bench.box().remove(inner, true);
}

TEST(Layouts, MarginsBecomeTheChildrensOriginAndCountInTheBoxSizes) {
  Bench bench(IBox::kColumn, 0, 0);
  bench.block(30, 10, 30, 10);
  bench.box().setMargins(4, true);
  EXPECT_EQ(bench.box().getPreferredWidth(), 38);
  EXPECT_EQ(bench.box().getPreferredHeight(), 18);
  // Without a native control the screen position is origin + position.
  EXPECT_EQ(bench.at(0).getScreenX(), 4);
  EXPECT_EQ(bench.at(0).getScreenY(), 4);
}

TEST(Layouts, CollapsedAndMinimumWidths) {
  Bench bench(IBox::kColumn, 0, 0);
  bench.block(30, 10, 30, 10);
  bench.box().setMinimumWidth(50);
  EXPECT_EQ(bench.box().getPreferredWidth(), 50);
  bench.box().setCollapseWidth(true);
  bench.box().setCollapseHeight(true);
  EXPECT_EQ(bench.box().getPreferredWidth(), 0);
  EXPECT_EQ(bench.box().getPreferredHeight(), 0);
}

TEST(Layouts, HiddenChildrenTakeNoRoom) {
  Bench bench(IBox::kColumn, 50, 0);
  bench.block(10, 10, 10, 10);
  bench.block(10, 10, 10, 10).setVisible(false, false);
  bench.block(10, 10, 10, 10);
  bench.box().setGapY(5);
  bench.box().layout();
  EXPECT_EQ(bench.at(2).getY(), 15);
  EXPECT_EQ(bench.box().getPreferredHeight(), 25);
}

// --- row, flow, pile ------------------------------------------------------------------

TEST(Layouts, RowSharesWidthAndStretchesChildrenToItsHeight) {
  Bench bench(IBox::kRow, 100, 30);
  bench.block(20, 10, 20, 100);  // may grow to the row's height
  bench.block(20, 10, 60, 10);   // may grow in width only
  bench.box().setGapX(4);
  bench.box().alignBottom();
  bench.box().layout();
  EXPECT_EQ(bench.at(0).bounds(), (Rect{0, 0, 20, 30}));
  EXPECT_EQ(bench.at(1).bounds(), (Rect{24, 20, 60, 10}));
  EXPECT_EQ(bench.box().getPreferredWidth(), 44);
  EXPECT_EQ(bench.box().getMaximumWidth(), 84);
  EXPECT_EQ(bench.box().getPreferredHeight(), 10);
}

TEST(Layouts, FlowWrapsIntoLinesWithGapsBetweenNeighboursAndLines) {
  Bench bench(IBox::kFlow, 100, 0);
  bench.block(40, 10, 40, 10);
  bench.block(40, 20, 40, 20);
  bench.block(40, 10, 40, 10);  // 40 + 5 + 40 + 5 + 40 > 100: a new line
  bench.block(10, 10, 10, 10);
  bench.box().setGapX(5);
  bench.box().setGapY(3);
  bench.box().layout();
  EXPECT_EQ(bench.at(0).bounds(), (Rect{0, 0, 40, 10}));
  EXPECT_EQ(bench.at(1).bounds(), (Rect{45, 0, 40, 20}));
  EXPECT_EQ(bench.at(2).bounds(), (Rect{0, 23, 40, 10}));
  EXPECT_EQ(bench.at(3).bounds(), (Rect{45, 23, 10, 10}));
  EXPECT_EQ(bench.box().getPreferredHeight(), 33);
  EXPECT_EQ(bench.box().getPreferredWidth(), 40);
}

TEST(Layouts, FlowCentresEachLineOnItsOwn) {
  Bench bench(IBox::kFlow, 100, 0);
  bench.block(60, 10, 60, 10);
  bench.block(20, 10, 20, 10);
  bench.block(50, 10, 50, 10);
  bench.box().alignCenter();
  bench.box().layout();
  EXPECT_EQ(bench.at(0).getX(), 10);  // 80 used of 100
  EXPECT_EQ(bench.at(2).getX(), 25);  // 50 used
}

struct PileCase {
  std::int32_t hAlign;
  std::int32_t vAlign;
  Rect expected;
};

class PileAlign : public ::testing::TestWithParam<PileCase> {};

TEST_P(PileAlign, AChildSmallerThanThePileIsPlacedByTheAlignment) {
  const PileCase c = GetParam();
  Bench bench(IBox::kPile, 100, 50);
  bench.block(20, 10, 20, 10);
  Block& filler = bench.block(10, 10, 1000, 1000);
  if (c.hAlign == 1) bench.box().alignCenter();
  if (c.hAlign == 2) bench.box().alignRight();
  if (c.vAlign == 1) bench.box().alignMiddle();
  if (c.vAlign == 2) bench.box().alignBottom();
  bench.box().layout();
  EXPECT_EQ(bench.at(0).bounds(), c.expected);
  // A child that may grow fills the pile and no more.
  EXPECT_EQ(filler.bounds(), (Rect{0, 0, 100, 50}));
}

INSTANTIATE_TEST_SUITE_P(Layouts, PileAlign,
                         ::testing::Values(PileCase{0, 2, Rect{0, 40, 20, 10}},
                                           PileCase{0, 0, Rect{0, 0, 20, 10}},
                                           PileCase{1, 1, Rect{40, 20, 20, 10}},
                                           PileCase{2, 2, Rect{80, 40, 20, 10}}));

// --- spacers --------------------------------------------------------------------------

TEST(Spacers, TurningKeepsTheExtentAlongTheMainDirection) {
  Spacer* spacer = Spacer::make(0, 15);
  EXPECT_EQ(spacer->getPreferredWidth(), 15);
  EXPECT_EQ(spacer->getPreferredHeight(), 1);
  spacer->makeVertical();
  EXPECT_EQ(spacer->getPreferredWidth(), 1);
  EXPECT_EQ(spacer->getPreferredHeight(), 15);
  spacer->setWidthPercent(50);
  spacer->makeHorizontal();
  EXPECT_EQ(spacer->getPreferredWidth(), 15);
  EXPECT_EQ(spacer->getPreferredHeight(), 0);  // the percentage cleared the fixed 1
  spacer->release();
}

struct SpacerCase {
  std::int32_t direction;
  std::int32_t orientation;
  Rect expected;
};

class SpacerInBox : public ::testing::TestWithParam<SpacerCase> {};

TEST_P(SpacerInBox, TakesNoRoomAcrossItsParentsDirection) {
  const SpacerCase c = GetParam();
  Bench bench(c.direction, 0, 0);
  Spacer* spacer = Spacer::make(c.orientation, 15);
  bench.box().add(spacer);
  EXPECT_EQ((Rect{spacer->getX(), spacer->getY(), spacer->getWidth(), spacer->getHeight()}),
            c.expected);
  bench.box().remove(spacer, true);
}

INSTANTIATE_TEST_SUITE_P(Spacers, SpacerInBox,
                         ::testing::Values(SpacerCase{IBox::kColumn, 0, Rect{0, 0, 15, 0}},
                                           SpacerCase{IBox::kRow, 1, Rect{0, 0, 0, 15}},
                                           SpacerCase{IBox::kColumn, 1, Rect{0, 0, 1, 15}},
                                           SpacerCase{IBox::kRow, 0, Rect{0, 0, 15, 1}}));

// --- the layout pass ------------------------------------------------------------------

// Lays the box out again from each layout listener call.
class Again : public s::gui::IEventListener {
 public:
  explicit Again(Box& box) : box_(box) {}
  void onEvent(s::base::IObject*, std::int32_t code) override {
    codes.push_back(code);
    box_.layout();
  }
  std::vector<std::int32_t> codes;

 private:
  Box& box_;
};

TEST(Layouts, ALayoutFromALayoutListenerRunsAtMostOneNestedPass) {
  Bench bench(IBox::kColumn, 50, 50);
  bench.block(10, 10, 10, 10);
  Again again(bench.box());
  bench.box().addLayoutListener(&again);
  bench.box().layout();
  EXPECT_EQ(again.codes, (std::vector<std::int32_t>{3, 3}));
  again.codes.clear();
  bench.box().layout();  // the guard is down again afterwards
  EXPECT_EQ(again.codes.size(), 2u);
}

TEST(Layouts, ChildrenDeferTheirMovesDuringAPassAndApplyThemOnce) {
  // A layout listener sees children already placed and no longer deferring.
  class Check : public s::gui::IEventListener {
   public:
    explicit Check(IComponent& child) : child_(child) {}
    void onEvent(s::base::IObject*, std::int32_t) override { deferring = child_.isDeferring(); }
    bool deferring = true;

   private:
    IComponent& child_;
  };
  Bench bench(IBox::kColumn, 50, 50);
  Block& leaf = bench.block(10, 10, 10, 10);
  Check check(leaf);
  bench.box().addLayoutListener(&check);
  bench.box().beginDeferring();
  bench.box().layout();
  EXPECT_TRUE(check.deferring);  // the box itself defers: its children stay so
  bench.box().endDeferring();
  EXPECT_FALSE(leaf.isDeferring());
  bench.box().layout();
  EXPECT_FALSE(check.deferring);
}

// --- the status bar -------------------------------------------------------------------

TEST(StatusBars, HeightComesFromTheDrawerUnlessFixed) {
  StatusBar* bar = StatusBar::create();
  EXPECT_EQ(bar->getPreferredHeight(), 23 * s::gui::Scale::factor());
  EXPECT_EQ(bar->getMaximumHeight(), bar->getPreferredHeight());
  bar->setFixedHeight(30);
  EXPECT_EQ(bar->getPreferredHeight(), 30);
  bar->release();
}

TEST(StatusBars, TheBasicDrawerIs23PixelsTimesTheScale) {
  for (const auto& [scale, height] : {std::pair{1, 23}, {2, 46}, {4, 92}})
    EXPECT_EQ(s::gui::drawer::statusbar::win::Basic::heightAt(scale), height) << scale;
}

TEST(StatusBars, TheGripSitsInTheBottomRightCornerAndAddedItemsInTheInnerBox) {
  Bench window(IBox::kColumn, 300, 100);
  StatusBar* bar = StatusBar::make(2, 2);
  Block item(50, 14, 50, 14);
  bar->add(&item);
  window.box().add(bar);
  const std::int32_t scale = s::gui::Scale::factor();
  EXPECT_EQ(bar->getWidth(), 300);
  EXPECT_EQ(bar->getHeight(), 23 * scale);
  IComponent* outer = bar->getChild(0);
  ASSERT_NE(outer, nullptr);
  IComponent* corner = outer->getChild(1);
  IComponent* grip = corner->getChild(0);
  EXPECT_EQ(outer->getWidth(), 300);
  EXPECT_EQ(grip->getWidth(), 12 * scale);
  // The grip's bottom right is the bar's.
  EXPECT_EQ(corner->getX() + grip->getX() + grip->getWidth(), 300);
  EXPECT_EQ(corner->getY() + grip->getY() + grip->getHeight(), bar->getHeight());
  // The item: inside the inner box's margins, the inner box up to the corner.
  IComponent* inner = outer->getChild(0);
  EXPECT_EQ(item.getParent(), inner);
  EXPECT_EQ(item.getScreenX() - inner->getScreenX(), 2);
  EXPECT_EQ(inner->getWidth() + corner->getWidth(), 300);
  window.box().remove(bar, true);
}

}  // namespace
