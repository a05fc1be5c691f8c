#include "gui/win/MessageBoxW.h"

#include "os/gui/Ui.h"

namespace s::gui::win {

using s::os::gui::BoxAnswer;
using s::os::gui::BoxKind;

namespace {
constexpr std::int32_t kIdOk = 1;
}

std::int32_t MessageBoxW::info(const std::u16string& text) {
  s::os::gui::ui().messageBox(owner_, BoxKind::kInfo, text, {});
  return kIdOk;
}

std::int32_t MessageBoxW::warning(const std::u16string& text) {
  s::os::gui::ui().messageBox(owner_, BoxKind::kWarning, text, {});
  return kIdOk;
}

std::int32_t MessageBoxW::error(const std::u16string& text) {
  s::os::gui::ui().messageBox(owner_, BoxKind::kError, text, {});
  return kIdOk;
}

bool MessageBoxW::ask(const std::u16string& text) {
  return s::os::gui::ui().messageBox(owner_, BoxKind::kAsk, text, {}) == BoxAnswer::kYes;
}

bool MessageBoxW::askCancel(const std::u16string& text, bool& yes) {
  const BoxAnswer answer = s::os::gui::ui().messageBox(owner_, BoxKind::kAskCancel, text, {});
  yes = answer == BoxAnswer::kYes;
  return answer == BoxAnswer::kYes || answer == BoxAnswer::kNo;
}

}  // namespace s::gui::win
