#include "gui/dialogs/About3.h"

#include "app/IAppBase.h"
#include "app/IAppWindow.h"
#include "gui/IFont.h"
#include "gui/win/Box.h"
#include "gui/win/Button.h"
#include "gui/win/Label.h"
#include "gui/win/Picture.h"
#include "gui/win/Spacer.h"
#include "gui/win/Window.h"
#include "lang/Localizer.h"
#include "os/gui/Ui.h"

namespace s::gui::dialogs {

using namespace s::gui::win;

namespace {

// Entry ids.
constexpr std::int32_t kProduct = 500000;
constexpr std::int32_t kHeading = 400100;
constexpr std::int32_t kClose = 400120;
constexpr std::int32_t kMakerSite = 101000;
constexpr std::int32_t kQuestion = 500089;
constexpr std::int32_t kDonate = 500090;
constexpr std::int32_t kDonatePage = 500100;
struct Fact {
  std::int32_t caption, value;
};
constexpr Fact kFacts[] = {{400010, 500010}, {400020, 500020}, {400050, 500050}};
constexpr std::int32_t kUrlCaption = 400080;

Label* textLabel(std::int32_t id, std::int32_t sizeCode) {
  Label* label = Label::create();
  label->setWordWrap(false);
  label->setEllipsis(false);
  label->setFontSize(sizeCode);
  label->setTextId(id);
  return label;
}

Label* link(Label* label, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t hr,
            std::uint8_t hg, std::uint8_t hb) {
  label->setLink(true);
  label->getLinkFont()->setTextColor(r, g, b);
  label->getLinkHoverFont()->setTextColor(hr, hg, hb);
  return label;
}

}  // namespace

About3::~About3() {
  reset();
}

void About3::reset() {
  giveBack();
  record_ = nullptr;
  owner_ = nullptr;
}

void About3::show(s::gui::IWindow* owner) {
  if (record_ == nullptr) return;
  s::os::gui::ui().call([&] {
    owner_ = owner;
    giveBack();
    build();
    window_->layout();
    window_->layout();
    window_->layout();
    window_->fitToPreferred();
    window_->keepInsideScreen();
    if (owner_ != nullptr) window_->setModalFor(owner_);
    window_->show(true, true);
    window_->fitToPreferred();
  });
}

void About3::build() {
  s::lang::Localizer* table = record_->getLanguageTable();
  window_ = Window::create();
  window_->setResizable(false);
  window_->bindWindowState(record_, false);
  window_->setTitle(table != nullptr ? std::u16string(table->text(kHeading)) : u"");
  const std::int32_t s = record_->getScale();
  Box* column = Box::make(IBox::kColumn, 1, 100.0f, 100.0f, 0, 0, 4 * s, 10 * s, 6 * s);
  column->add(header());
  Picture* icon = Picture::create();
  icon->setImage(record_->iconPng(64 * s), 64 * s, 64 * s,
                 table != nullptr ? table->text(kProduct) : u"");
  column->add(icon);
  column->add(facts());
  column->add(donation());
  closeButton_ = Button::create();
  closeButton_->setTextId(kClose);
  column->add(closeButton_);
  window_->add(column);
  closeX_->addClickListener(this);
  closeButton_->addClickListener(this);
  address_->addClickListener(this);
  donate_->addClickListener(this);
  window_->addCloseListener(this);
}

// The product's title and the heading on the left, the small close button
// on the right.
Box* About3::header() {
  Box* row = Box::make(IBox::kRow, 0, 100.0f);
  Box* titles = Box::make(IBox::kColumn, 0, 100.0f);
  Label* title = textLabel(kProduct, -103);
  titles->add(title);
  titles->add(textLabel(kHeading, -104));
  row->add(titles);
  closeX_ = Button::create();
  closeX_->setText(u"#X");
  const std::int32_t s = record_->getScale();
  closeX_->setFixedWidth(20 * s);
  closeX_->setFixedHeight(14 * s);
  row->add(closeX_);
  return row;
}

// Version, date, licence and the maker's address, a caption and a value each.
Box* About3::facts() {
  Box* rows = Box::make(IBox::kColumn, 0, 100.0f, -1.0f, 0, 0, 2);
  auto addRow = [rows](Label* caption, Label* value) {
    Box* row = Box::make(IBox::kRow, 0, 100.0f, -1.0f, 0, 6);
    row->add(caption);
    row->add(value);
    rows->add(row);
  };
  for (const Fact& fact : kFacts) addRow(textLabel(fact.caption, -1), textLabel(fact.value, -1));
  s::lang::Localizer* table = record_->getLanguageTable();
  address_ = Label::create();
  address_->setWordWrap(false);
  address_->setFontSize(-1);
  address_->setText(table != nullptr ? std::u16string(table->text(kMakerSite)) : u"", false);
  link(address_, 0, 0, 238, 238, 0, 0);
  addRow(textLabel(kUrlCaption, -1), address_);
  return rows;
}

// The donation question and its link on pale green.
Box* About3::donation() {
  const std::int32_t s = record_->getScale();
  Box* area = Box::make(IBox::kColumn, 1, 100.0f, -1.0f, 0, 0, 2 * s, 6 * s, 4 * s);
  area->setTransparent(false);
  area->setBackgroundColor(238, 250, 199, false);
  // Dark text on the pale green, whatever the theme's text colour.
  Label* question = textLabel(kQuestion, -1);
  question->setThemed(false);
  area->add(question);
  donate_ = link(textLabel(kDonate, -103), 0, 170, 0, 170, 170, 0);
  area->add(donate_);
  return area;
}

void About3::onEvent(s::base::IObject* sender, std::int32_t code) {
  if (sender == static_cast<s::base::IObject*>(window_)) {
    if (code == s::gui::IWindow::kClose) window_->setModalFor(nullptr);
    return;
  }
  if (sender == static_cast<s::base::IObject*>(closeX_) ||
      sender == static_cast<s::base::IObject*>(closeButton_)) {
    window_->close();
    return;
  }
  s::app::IAppBase* app = record_->getApp();
  if (app == nullptr) return;
  if (sender == static_cast<s::base::IObject*>(address_)) app->openUrl(address_->getText());
  if (sender == static_cast<s::base::IObject*>(donate_)) {
    app->openUrl(record_->getLanguageTable()->text(kDonatePage));
  }
}

// The window of the last show() goes, with its components.
void About3::giveBack() {
  if (window_ == nullptr) return;
  Window* window = window_;
  s::os::gui::ui().call([window] { window->removeAll(true); });
  window->release();
  window_ = nullptr;
  closeX_ = closeButton_ = nullptr;
  address_ = donate_ = nullptr;
}

}  // namespace s::gui::dialogs
