#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/IObject.h"

namespace s::lang {
class Localizer;
}
namespace s::map {
class IMappedData;
}
namespace s::process::commandline::win {
class CommandLine;
}

namespace s::app {

// The application core: the program's path and resources, its language table
// and its settings store, and the one-copy-per-executable rule. Used on the
// main thread during start-up and on the interface thread afterwards.
class IAppBase : public virtual s::base::IObject {
 public:
  ~IAppBase() override = default;

  // "Freeware".
  virtual const char16_t* getSoftwareType() = 0;
  virtual std::u16string getProgramPath() = 0;
  virtual std::u16string getProgramFolder() = 0;
  virtual s::process::commandline::win::CommandLine* getCommandLine() = 0;
  // The program icon as PNG bytes at `pixels`; empty for sizes it lacks.
  virtual std::span<const unsigned char> getIconPng(std::int32_t pixels) = 0;
  // 500000: the first entry of the product's own texts.
  virtual std::int32_t getEntryBase() = 0;
  virtual s::lang::Localizer* getLanguageTable() = 0;
  virtual s::map::IMappedData* getSettings() = 0;
  // The stored language name; without one, the English name of the
  // table's current language.
  virtual std::u16string getLanguageSetting() = 0;
  virtual void setLanguageSetting(const std::u16string& name) = 0;
  // True when another process runs this executable; with `activate`, that
  // copy is also asked to come forward (and, with `alsoSecondMessage`, sent
  // the second-instance message). `matchTitles` is kept for the Windows
  // rule (every language's title is tried); the channel here is per
  // executable, so no title is needed.
  virtual bool activateOtherInstance(bool activate, bool alsoSecondMessage, bool matchTitles) = 0;
  // When the product's key holds a value "Silent" (left by an installer),
  // deletes it and opens the product page. Returns whether it opened it.
  virtual bool openPageAfterSilentInstall() = 0;
  // Opens an address with the desktop's handler; nothing is reported.
  virtual void openUrl(const std::u16string& target) = 0;
};

}  // namespace s::app
