// Labels in a real window: measuring once per change, the ellipsis label's
// sizes, texts by entry id, and temporary texts.

#include <gtest/gtest.h>

#include "gui/OnUi.h"
#include "gui/win/Label.h"
#include "gui/win/Window.h"
#include "lang/Localizer.h"
#include "os/System.h"
#include "os/gui/Ui.h"

namespace {

using s::gui::win::Label;
using s::gui::win::Window;

class Labels : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s::os::gui::ui().start()) << s::os::gui::ui().displayError();
    table_ = s::lang::Localizer::createFromResource();
    s::os::gui::ui().call([this] { table_->selectLanguage(u"English"); });
    window_ = Window::create();
    window_->setLanguage(table_);
    label_ = Label::create();
    window_->add(label_);
  }
  void TearDown() override {
    window_->remove(label_, true);
    window_->release();
    table_->release();
  }
  s::lang::Localizer* table_ = nullptr;
  Window* window_ = nullptr;
  Label* label_ = nullptr;
};

TEST_F(Labels, TheSameTextIsMeasuredOnlyOnce) {
  const std::int32_t before = label_->measureCount();
  EXPECT_TRUE(label_->setText(u"Ready", true));
  EXPECT_FALSE(label_->setText(u"Ready", true));
  EXPECT_EQ(label_->measureCount(), before + 1);
  EXPECT_GT(label_->getPreferredWidth(), 0);
}

TEST_F(Labels, AnEllipsisLabelMayShrinkToAlmostNothing) {
  label_->setText(u"Wiping free space on disk... 42 %", false);
  const std::int32_t full = label_->getPreferredWidth();
  label_->setEllipsis(true);
  EXPECT_EQ(label_->getPreferredWidth(), 1);
  EXPECT_EQ(label_->getMaximumWidth(), full);
  label_->fitTo(40, 0);
  EXPECT_LE(label_->getWidth(), 40);
}

TEST_F(Labels, WordWrapTakesTheWidestWordAsPreferredAndBreaksToTheWidthGiven) {
  label_->setWordWrap(true);
  label_->setText(u"This may take some hours for drives larger than 3TB.", false);
  const std::int32_t oneLine = label_->getMaximumWidth();
  EXPECT_LT(label_->getPreferredWidth(), oneLine / 3);
  label_->fitTo(oneLine / 2, 0);
  const std::int32_t twoLines = label_->getHeight();
  label_->fitTo(oneLine, 0);
  EXPECT_GT(twoLines, label_->getHeight());
}

TEST_F(Labels, TextsByEntryFollowTheLanguageAndMinusOneEmpties) {
  label_->setTextId(1002100);
  EXPECT_EQ(label_->getText(), u"Erasing...");
  s::os::gui::ui().call([this] { table_->selectLanguage(u"German"); });
  EXPECT_EQ(label_->getText(), std::u16string(table_->text(1002100)));
  EXPECT_NE(label_->getText(), u"Erasing...");
  label_->setTextId(-1);
  EXPECT_EQ(label_->getText(), u"");
}

TEST_F(Labels, ATemporaryTextGivesWayToTheTextShownBefore) {
  label_->setText(u"Ready", true);
  label_->setTextFor(u"Done!", 100);
  label_->setTextFor(u"Done again!", 100);  // the text before both comes back
  EXPECT_EQ(label_->getText(), u"Done again!");
  for (int waited = 0; waited < 3000 && label_->getText() != u"Ready"; waited += 20)
    s::os::system().sleepMillis(20);
  EXPECT_EQ(label_->getText(), u"Ready");
}

}  // namespace
