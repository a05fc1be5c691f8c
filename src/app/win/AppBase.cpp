#include "app/win/AppBase.h"

#include "app/ProgramIcon.h"
#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "os/Instances.h"
#include "os/RegistryStore.h"
#include "os/Shell.h"
#include "process/commandline/win/CommandLine.h"
#include "reg/MappedData.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::app::win {

using s::process::commandline::win::CommandLine;

namespace {
constexpr std::int32_t kProductPage = AppBase::kEntryBase + 3;
constexpr std::int32_t kVersionText = AppBase::kEntryBase + 10;
}  // namespace

AppBase::~AppBase() {
  reset();
}

void AppBase::reset() {
  if (commandLine_ != nullptr) commandLine_->release();
  commandLine_ = nullptr;
  if (languages_ != nullptr) languages_->release();
  languages_ = nullptr;
  if (settings_ != nullptr) settings_->release();
  settings_ = nullptr;
  programPath_.clear();
}

bool AppBase::init(const std::vector<std::u16string>& arguments) {
  reset();
  commandLine_ = CommandLine::create();
  commandLine_->parse(arguments);
  programPath_ = s::os::instances().programPath();
  languages_ = s::lang::Localizer::createFromResource();
  if (languages_ == nullptr) return false;
  settings_ = s::reg::MappedData::create();
  settings_->open(s::os::RegRoot::kCurrentUser, (productKey() + u"\\SaveData").c_str());
  settings_->setAutoFlush(false);
  writeIdentity();
  selectLanguage();
  settings_->setAutoFlush(true);
  return true;
}

std::u16string AppBase::productKey() {
  return std::u16string(u"Software\\Vonq\\") + languages_->text(kProductId);
}

void AppBase::writeIdentity() {
  settings_->setValue(u"SoftwareType", u"", getSoftwareType());
  settings_->setValue(u"SoftwareID", u"", languages_->text(kProductId));
  settings_->setValue(u"Version", u"", languages_->text(kVersionText));
}

void AppBase::selectLanguage() {
  const std::u16string stored = getLanguageSetting();
  languages_->selectLanguage(stored.c_str());
  const s::lang::LangPack* current = languages_->currentLanguage();
  if (current == nullptr) return;
  const std::u16string chosen = current->getEngName().getText();
  s::str::strbuffer::StrBuffer* value = s::str::strbuffer::StrBuffer::create();
  const bool has = settings_->getValue(u"Language", u"", *value, nullptr, nullptr, false);
  if (!has || chosen != value->getText()) setLanguageSetting(chosen);
  value->release();
}

std::u16string AppBase::getProgramFolder() {
  const std::size_t slash = programPath_.find_last_of(u"/\\");
  return slash == std::u16string::npos ? std::u16string() : programPath_.substr(0, slash + 1);
}

std::span<const unsigned char> AppBase::getIconPng(std::int32_t pixels) {
  return s::app::programIconPng(pixels);
}

s::map::IMappedData* AppBase::getSettings() {
  return settings_;
}

std::u16string AppBase::getLanguageSetting() {
  const s::lang::LangPack* current =
      languages_ != nullptr ? languages_->currentLanguage() : nullptr;
  const char16_t* fallback = current != nullptr ? current->getEngName().getText() : u"English";
  s::str::strbuffer::StrBuffer* value = s::str::strbuffer::StrBuffer::create();
  if (settings_ != nullptr) {
    settings_->getValue(u"Language", u"", *value, fallback, nullptr, false);
  } else {
    value->append(fallback, -1);
  }
  std::u16string name = value->getText();
  value->release();
  return name;
}

void AppBase::setLanguageSetting(const std::u16string& name) {
  if (settings_ != nullptr) settings_->setValue(u"Language", u"", name.c_str());
}

bool AppBase::activateOtherInstance(bool activate, bool alsoSecondMessage, bool) {
  s::os::Instances& instances = s::os::instances();
  if (programPath_.empty() || !instances.otherRunning(programPath_)) return false;
  if (!activate) return true;
  instances.send(programPath_, s::os::Instances::kActivate);
  if (alsoSecondMessage) instances.send(programPath_, s::os::Instances::kSecondMessage);
  return true;
}

bool AppBase::openPageAfterSilentInstall() {
  s::reg::MappedData* product = s::reg::MappedData::create();
  bool opened = false;
  if (product->open(s::os::RegRoot::kCurrentUser, productKey().c_str()) &&
      product->hasValue(u"", u"Silent")) {
    product->deleteValue(u"", u"Silent");
    openUrl(languages_->text(kProductPage));
    opened = true;
  }
  product->release();
  return opened;
}

void AppBase::openUrl(const std::u16string& target) {
  s::os::shell().openUrl(target);
}

}  // namespace s::app::win
