#include "gui/dialogs/FlexAsker.h"

#include "app/IAppWindow.h"
#include "gui/win/Box.h"
#include "gui/win/Button.h"
#include "gui/win/CheckBox.h"
#include "gui/win/Label.h"
#include "gui/win/Spacer.h"
#include "gui/win/Window.h"
#include "lang/Localizer.h"
#include "os/System.h"
#include "os/gui/Ui.h"

namespace s::gui::dialogs {

using namespace s::gui::win;

namespace {
constexpr std::int32_t kTitle = 400300;
constexpr std::int32_t kMessage = 400320;
constexpr std::uint32_t kTab = 9;
constexpr std::uint32_t kReturn = 13;
constexpr std::uint32_t kClosePollMs = 100;

bool live(s::gui::IWindow* window) {
  return window != nullptr && !window->isClosed() && window->isVisible();
}
}  // namespace

FlexAsker::~FlexAsker() {
  giveBack();
}

void FlexAsker::reset() {
  giveBack();
  record_ = nullptr;
  yesTextId_ = 400330;
  noTextId_ = 400340;
  checkTextId_ = 400380;
  showCheck_ = true;
  answerYes_.store(false);
  dontAskAgain_.store(false);
}

void FlexAsker::setTexts(std::int32_t yes, std::int32_t no, std::int32_t check, bool showCheck) {
  yesTextId_ = yes;
  noTextId_ = no;
  checkTextId_ = check;
  showCheck_ = showCheck;
}

void FlexAsker::ask(s::gui::IWindow* owner, const std::u16string& title,
                    const std::u16string& message) {
  answerYes_.store(false);
  giveBack();
  if (record_ == nullptr) return;
  s::os::gui::ui().call([&] {
    build(title, message);
    place(owner, messageWidth_);
  });
  shown_.store(window_);
  while (!window_->isClosed()) s::os::system().sleepMillis(kClosePollMs);
  shown_.store(nullptr);
  if (live(owner)) s::os::gui::ui().call([owner] { owner->bringToFront(false); });
}

void FlexAsker::build(const std::u16string& title, const std::u16string& message) {
  s::lang::Localizer* table = record_->getLanguageTable();
  auto text = [table](std::int32_t id) {
    return table != nullptr ? std::u16string(table->text(id)) : std::u16string();
  };
  record_->forgetGeometry();  // every question starts at the default size
  window_ = Window::create();
  window_->setResizable(true);
  window_->bindWindowState(record_, false);
  window_->setTitle(title.empty() ? text(kTitle) : title);

  checkBox_ = CheckBox::create();
  if (showCheck_) checkBox_->setTextId(checkTextId_);
  checkBox_->setWordWrap(false);
  noButton_ = Button::create();
  noButton_->setTextId(noTextId_);
  yesButton_ = Button::create();
  yesButton_->setTextId(yesTextId_);
  Label* label = Label::create();
  label->setWordWrap(false);
  label->setEllipsis(false);
  label->setFontSize(0);
  label->setText(message.empty() ? text(kMessage) : message, false);

  Box* column = Box::make(IBox::kColumn, 1, 100.0f, 100.0f, 0, 0, 0, 10, 2);
  column->add(Spacer::make(1, 10));
  column->add(label);
  column->add(Spacer::make(1, 12));
  Box* answers = Box::make(IBox::kRow, 2, 100.0f);
  answers->add(yesButton_);
  answers->add(Spacer::make(0, 7));
  answers->add(noButton_);
  column->add(answers);
  Box* box = Box::make(IBox::kRow, 0, 100.0f);
  box->add(checkBox_);
  column->add(box);
  column->add(Spacer::make(1, 5));
  window_->add(column);
  messageWidth_ = label->getPreferredWidth();

  yesButton_->addClickListener(this);
  noButton_->addClickListener(this);
  checkBox_->addCheckedListener(this);
  checkBox_->addUncheckedListener(this);
  window_->addKeyDownListener(this);
  window_->addCloseListener(this);
}

// Sizes the question to its content, at least wide enough for the message,
// centres it on a live owner and shows it.
void FlexAsker::place(s::gui::IWindow* owner, std::int32_t messageWidth) {
  window_->layout();
  window_->layout();
  window_->fitHeight();
  if (window_->getWidth() < messageWidth + kMessageGap) {
    window_->setWidth(messageWidth + kMessageGap);
    window_->layout();
  }
  if (live(owner)) {
    window_->setPosition(owner->getX() + owner->getWidth() / 2 - window_->getWidth() / 2,
                         owner->getY() + owner->getHeight() / 2 - window_->getHeight() / 2);
  }
  window_->ensureMinimumSize();
  yesButton_->makeDefault();
  noButton_->clearDefault();
  window_->keepInsideScreen();
  if (live(owner)) window_->setModalFor(owner);
  window_->show(true, true);
}

void FlexAsker::onEvent(s::base::IObject* sender, std::int32_t code) {
  if (sender == static_cast<s::base::IObject*>(window_)) {
    if (code != s::gui::IWindow::kKeyDown) return;  // a close by the frame answers No
    const std::uint32_t key = window_->getLastKey();
    if (key == kTab) moveDefault();
    if (key == kReturn) answer(yesButton_->isDefault());
    return;
  }
  if (sender == static_cast<s::base::IObject*>(yesButton_)) return answer(true);
  if (sender == static_cast<s::base::IObject*>(noButton_)) return answer(false);
  if (sender == static_cast<s::base::IObject*>(checkBox_))
    dontAskAgain_.store(checkBox_->isChecked());
}

void FlexAsker::answer(bool yes) {
  answerYes_.store(yes);
  window_->close();
}

void FlexAsker::moveDefault() {
  const bool yes = yesButton_->isDefault();
  (yes ? yesButton_ : noButton_)->clearDefault();
  (yes ? noButton_ : yesButton_)->makeDefault();
}

// The window of the last question goes, with its components.
void FlexAsker::giveBack() {
  if (window_ == nullptr) return;
  Window* window = window_;
  s::os::gui::ui().call([window] { window->removeAll(true); });
  window->release();
  window_ = nullptr;
  yesButton_ = noButton_ = nullptr;
  checkBox_ = nullptr;
}

}  // namespace s::gui::dialogs
