#include "file/gui/dialogs/diskeraser/win/EraserView.h"

#include "gui/IFont.h"
#include "gui/drawer/border/win/UnderWindowMenu.h"
#include "gui/win/Box.h"
#include "gui/win/Button.h"
#include "gui/win/CheckBox.h"
#include "gui/win/ComboBox.h"
#include "gui/win/Label.h"
#include "gui/win/MenuEx.h"
#include "gui/win/ProgressBar.h"
#include "gui/win/Spacer.h"
#include "gui/win/StatusBar.h"
#include "gui/win/Window.h"

namespace s::file::gui::dialogs::diskeraser::win {

using namespace s::gui::win;

namespace {

// Entry ids of the window's texts.
constexpr std::int32_t kInfoText = 1000500;
constexpr std::int32_t kRefreshText = 1005000;
constexpr std::int32_t kEraseText = 1002000;
constexpr std::int32_t kCancelText = 1002200;
constexpr std::int32_t kFirstOperationText = 1008100;  // then 1008200, ... 1008500
constexpr std::int32_t kHintHours = 1008510;
constexpr std::int32_t kHintExplorers = 1008511;

// Font size codes: 9 points, 8 points, 8 points normal.
constexpr std::int32_t kNormalText = -1;
constexpr std::int32_t kSmallText = -2;
constexpr std::int32_t kStatusText = 100001;

// Pixels between the hint lines and the left edge (not scaled).
constexpr std::int32_t kHintIndent = 35;

Spacer* verticalSpace(std::int32_t height) {
  Spacer* spacer = Spacer::create();
  spacer->makeVertical();
  spacer->setFixedHeight(height);
  return spacer;
}

Spacer* horizontalSpace(std::int32_t width) {
  Spacer* spacer = Spacer::create();
  spacer->makeHorizontal();
  spacer->setFixedWidth(width);
  return spacer;
}

// A row or column box, aligned left and middle (or top), `percent` wide.
Box* lineBox(bool row, std::int32_t percent, bool top) {
  Box* box = Box::create();
  if (row) {
    box->arrangeRow();
  } else {
    box->arrangeColumn();
  }
  if (percent >= 0) box->setWidthPercent(percent, false);
  box->alignLeft();
  if (top) {
    box->alignTop();
  } else {
    box->alignMiddle();
  }
  return box;
}

// Texts by entry id come from the window's language table once attached.
Label* label(std::int32_t textId, std::int32_t sizeCode) {
  Label* text = Label::create();
  text->setWordWrap(false);
  text->setEllipsis(false);
  text->setFontSize(sizeCode);
  text->setTextId(textId);
  return text;
}

ProgressBar* percentBar(std::int32_t height) {
  ProgressBar* bar = ProgressBar::create();
  bar->setWidthPercent(100);
  bar->setFixedHeight(height);
  bar->setRange(0, 100);
  return bar;
}

}  // namespace

void EraserView::make(std::int32_t scale, const bool ticked[kOperations]) {
  s_ = scale;
  menuBar = MenuEx::make(100);
  makeMainColumn(ticked);
  makeStatusBar();
}

void EraserView::makeMainColumn(const bool ticked[kOperations]) {
  mainColumn = lineBox(false, 100, false);
  mainColumn->setHeightPercent(100, false);
  mainColumn->setGapY(2 * s_);
  mainColumn->setMarginsHorizontal(8 * s_, false);
  mainColumn->add(verticalSpace(12 * s_));
  Label* info = label(kInfoText, kNormalText);
  info->setWordWrap(true);
  mainColumn->add(info);
  mainColumn->add(verticalSpace(13 * s_));
  mainColumn->add(makeDriveRow());
  const std::int32_t gapsAbove[] = {15, 15, 13, 13};
  for (int op = 0; op < 4; ++op) addOperation(op, gapsAbove[op] * s_, ticked[op]);
  mainColumn->add(verticalSpace(13 * s_));
  mainColumn->add(makeOptionalBlock(ticked[4]));
  mainColumn->add(verticalSpace(s_));
  opProgress[4] = percentBar(16 * s_);
  mainColumn->add(opProgress[4]);
  mainColumn->add(verticalSpace(15 * s_));
  eraseButton = Button::create();
  eraseButton->setTextId(kEraseText);
  eraseButton->setWidthPercent(100);
  eraseButton->setFixedHeight(40 * s_);
  mainColumn->add(eraseButton);
  cancelButton = Button::create();
  cancelButton->setTextId(kCancelText);
  cancelButton->setWidthPercent(100);
  cancelButton->setEnabled(false);
  mainColumn->add(cancelButton);
  mainColumn->add(verticalSpace(2 * s_));
  mainColumn->setBorder(s::gui::drawer::border::win::UnderWindowMenu::create(), true);
}

Box* EraserView::makeDriveRow() {
  Box* row = lineBox(true, 100, false);
  driveList = ComboBox::create();
  driveList->setWidthPercent(100);
  driveList->setFixedHeight(22 * s_);
  row->add(driveList);
  refreshButton = Button::create();
  refreshButton->setTextId(kRefreshText);
  row->add(refreshButton);
  return row;
}

void EraserView::addOperation(int op, std::int32_t gapAbove, bool ticked) {
  mainColumn->add(verticalSpace(gapAbove));
  Box* row = lineBox(true, 100, false);
  CheckBox* box = CheckBox::create();
  box->setTextId(kFirstOperationText + op * 100);
  box->setWordWrap(false);
  box->setFontSize(kNormalText);
  box->setCheckedSilently(ticked);
  opCheck[op] = box;
  row->add(box);
  mainColumn->add(row);
  mainColumn->add(verticalSpace(s_));
  opProgress[op] = percentBar(16 * s_);
  mainColumn->add(opProgress[op]);
}

Box* EraserView::makeOptionalBlock(bool ticked) {
  Box* block = lineBox(false, 100, true);
  CheckBox* box = CheckBox::create();
  box->setTextId(kFirstOperationText + 400);
  box->setWordWrap(false);
  box->setFontSize(kNormalText);
  box->setCheckedSilently(ticked);
  opCheck[4] = box;
  block->add(box);
  block->add(verticalSpace(4 * s_));
  Box* hintRow = lineBox(true, 100, true);
  hintRow->add(horizontalSpace(kHintIndent));
  Box* hints = lineBox(false, 100, true);
  hints->add(label(kHintHours, kSmallText));
  hints->add(verticalSpace(3 * s_));
  hints->add(label(kHintExplorers, kSmallText));
  hintRow->add(hints);
  block->add(hintRow);
  block->add(verticalSpace(3 * s_));
  return block;
}

void EraserView::makeStatusBar() {
  statusBar = StatusBar::make(2 * s_, 2 * s_);
  // The status text takes what the link on the right end leaves. (A row
  // rather than overlapping boxes: a box paints its background over the
  // siblings it overlaps.)
  Box* items = Box::create();
  items->arrangeRow();
  items->alignMiddle();
  items->setWidthPercent(100, false);
  items->setHeightPercent(100, false);
  statusBar->add(items);
  Box* textColumn = lineBox(false, 100, false);
  textColumn->setHeightPercent(100, false);
  statusLabel = Label::create();
  statusLabel->setWordWrap(false);
  statusLabel->setEllipsis(true);
  statusLabel->setFontSize(kStatusText);
  statusLabel->setText(u"Ready", false);
  textColumn->add(statusLabel);
  items->add(textColumn);

  Box* barRow = lineBox(true, -1, false);
  barRow->setFixedWidth(0, false);
  barRow->setHeightPercent(100, false);
  barRow->setMarginsHorizontal(2 * s_, false);
  statusProgress = ProgressBar::create();
  statusProgress->setFixedWidth(100 * s_);
  statusProgress->setFixedHeight(16 * s_);
  statusProgress->setVisible(false, false);  // kept for the layout, never shown
  barRow->add(statusProgress);
  items->add(barRow);

  Box* linkColumn = lineBox(false, -1, false);
  linkColumn->setHeightPercent(100, false);
  linkColumn->alignRight();
  linkColumn->setMarginsHorizontal(3 * s_, false);
  linkLabel = Label::create();
  linkLabel->setWordWrap(false);
  linkLabel->setEllipsis(false);
  linkLabel->setFontSize(kStatusText);
  linkLabel->setText(u"vonq", false);
  linkLabel->setLink(true);
  linkLabel->getLinkFont()->setTextColor(51, 51, 51);
  linkLabel->getLinkHoverFont()->setTextColor(0, 0, 238);
  linkColumn->add(linkLabel);
  items->add(linkColumn);
}

void EraserView::attach(Window* window) {
  window_ = window;
  window->add(menuBar);
  window->add(mainColumn);
  window->add(statusBar);
}

void EraserView::release() {
  if (window_ != nullptr) window_->removeAll(true);
  window_ = nullptr;
  menuBar = nullptr;
  mainColumn = nullptr;
  statusBar = nullptr;
}

}  // namespace s::file::gui::dialogs::diskeraser::win
