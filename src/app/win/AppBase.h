#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/IAppBase.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::reg {
class MappedData;
}

namespace s::app::win {

// The application core (contract in IAppBase). init() does the start-up
// steps of the core: edition and entry base, the command line, the program
// path, the language table compiled into the program, the settings store
// under "Software\Vonq\<product>\SaveData" with SoftwareType, SoftwareID and
// Version written, and the language chosen and stored back. Pooled.
class AppBase final : public IAppBase, public virtual s::thread::IPoolable {
  VONQ_POOLED(AppBase, s::thread::kPoolCap)
 public:
  static constexpr std::int32_t kEntryBase = 500000;
  static constexpr std::int32_t kProductId = 300000;  // "Vonq Nulmark"

  AppBase() = default;
  ~AppBase() override;
  AppBase(const AppBase&) = delete;
  AppBase& operator=(const AppBase&) = delete;

  // Start-up of the core with the process arguments (argv[1..]). False only
  // when the language table could not be made (memory exhausted).
  bool init(const std::vector<std::u16string>& arguments);

  const char16_t* getSoftwareType() override { return u"Freeware"; }
  std::u16string getProgramPath() override { return programPath_; }
  std::u16string getProgramFolder() override;
  s::process::commandline::win::CommandLine* getCommandLine() override { return commandLine_; }
  std::span<const unsigned char> getIconPng(std::int32_t pixels) override;
  std::int32_t getEntryBase() override { return kEntryBase; }
  s::lang::Localizer* getLanguageTable() override { return languages_; }
  s::map::IMappedData* getSettings() override;
  std::u16string getLanguageSetting() override;
  void setLanguageSetting(const std::u16string& name) override;
  bool activateOtherInstance(bool activate, bool alsoSecondMessage, bool matchTitles) override;
  bool openPageAfterSilentInstall() override;
  void openUrl(const std::u16string& target) override;

  // The product's registry key, "Software\Vonq\" + entry 300000.
  std::u16string productKey();

  const char16_t* getClassName() const override { return u"s_app_win_AppBase"; }
  // Gives back the command line, the language table and the settings store.
  void reset() override;

 private:
  void writeIdentity();
  void selectLanguage();

  s::process::commandline::win::CommandLine* commandLine_ = nullptr;
  std::u16string programPath_;
  s::lang::Localizer* languages_ = nullptr;
  s::reg::MappedData* settings_ = nullptr;
};

}  // namespace s::app::win
