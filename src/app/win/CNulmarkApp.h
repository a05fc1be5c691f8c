#pragma once

#include <string>
#include <vector>

namespace s::app {
class IAppBase;
}

namespace s::app::win {

// The program's start-up, from process start to process end: journals of an
// earlier run put right, the display, the application core, the scale
// factor, the window-state record, the one-copy rule, the product page after
// a silent install, and the main window until it is closed.
class CNulmarkApp {
 public:
  // Exit codes of the program.
  static constexpr int kDone = 0;
  static constexpr int kNoDisplay = 2;
  static constexpr int kCannotStart = 3;

  // Runs the program with its arguments (argv[1..]); returns the exit code.
  // `complaints` receives the one-line reasons start-up failed for (no
  // display). Main thread.
  static int run(const std::vector<std::u16string>& arguments, std::string& complaints);
  // On a start without arguments, the product page once after a silent
  // install (see IAppBase::openPageAfterSilentInstall); a start with
  // arguments leaves the installer's flag in place. True when it opened.
  static bool openPageOnPlainStart(IAppBase& app);
};

}  // namespace s::app::win
