#pragma once

#include <string>

#include "app/win/AppBase.h"
#include "lang/Localizer.h"
#include "os/gui/Ui.h"

namespace vonq::gui_test {

// Starts the interface thread and an application in `language` (its own
// choice when null). Null, with `error` saying why, when the display or the
// application cannot be had; the caller releases the application.
inline s::app::win::AppBase* startApp(std::string& error, const char16_t* language = u"English") {
  if (!s::os::gui::ui().start()) {
    error = s::os::gui::ui().displayError();
    return nullptr;
  }
  s::app::win::AppBase* app = s::app::win::AppBase::create();
  if (!app->init({})) {
    app->release();
    error = "the application could not be set up";
    return nullptr;
  }
  if (language != nullptr) app->getLanguageTable()->selectLanguage(language);
  return app;
}

}  // namespace vonq::gui_test
