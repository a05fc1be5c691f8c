#include "app/win/VersionCheck.h"

#include <chrono>
#include <cstdlib>

#include "gui/OnUi.h"
#include "lang/Localizer.h"
#include "map/IMappedData.h"
#include "os/Http.h"
#include "system/network/win/Downloader.h"

namespace s::app::win {

namespace {
constexpr const char16_t* kUpdate = u"Update";
constexpr std::int32_t kVersion = 500010;
constexpr std::int32_t kVersionPage = 500006;
constexpr std::int32_t kProductPage = 500003;
constexpr std::int32_t kImproved = 400210;
constexpr std::int32_t kCheckItOut = 400230;
}  // namespace

VersionCheck::VersionCheck(s::map::IMappedData* settings, std::u16string group,
                           s::lang::Localizer* table)
    : settings_(settings), group_(std::move(group)), table_(table) {}

std::int64_t VersionCheck::hoursNow() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
  return ms / 1000 / 3600;
}

std::u16string VersionCheck::text(std::int32_t id) const {
  return std::u16string(table_->text(id));
}

std::u16string VersionCheck::checkAddress() const {
  if (const char* page = std::getenv("VONQ_VERSION_PAGE"); page != nullptr && *page != '\0') {
    return std::u16string(page, page + std::char_traits<char>::length(page));
  }
  return text(kVersionPage) + u"check/";
}

VersionCheck::Result VersionCheck::run(const Ask& ask, const Open& open) {
  if (settings_ == nullptr || table_ == nullptr || !table_->hasUpdateText()) {
    return Result::kNoUpdateText;
  }
  // The settings store belongs to the interface thread (the window saves its
  // state there); the check only visits it.
  const std::int64_t last = s::gui::onUi(
      [this] { return settings_->getValue(group_.c_str(), kUpdate, std::int64_t{0}); });
  const std::int64_t now = hoursNow();
  Result result = Result::kFirstStart;
  if (last != 0) {
    if (now < last + kPeriodHours) return Result::kNotDue;
    const std::u16string version = text(kVersion);
    const std::size_t dot = version.rfind(u'.');
    if (dot == std::u16string::npos || version.size() - dot - 1 != 2) return Result::kOddVersion;
    if (!s::os::http().connected()) return Result::kOffline;
    result = newerOnline(version) ? Result::kNewer : Result::kNothingNewer;
    if (result == Result::kNewer &&
        ask(text(kImproved), text(kImproved) + u" \r\n" + text(kCheckItOut))) {
      open(text(kProductPage));
    }
  }
  s::gui::onUi([this, now] { settings_->setValue(group_.c_str(), kUpdate, now); });
  return result;
}

// Whether the version page names a newer version: a reply of at least five
// characters starting with "*" that does not hold our own version text.
bool VersionCheck::newerOnline(const std::u16string& version) {
  auto* downloader = s::system::network::win::Downloader::create();
  downloader->setUrl(checkAddress());
  downloader->setReadToText(true);
  bool newer = false;
  if (downloader->download(kTimeoutMs)) {
    const std::u16string reply = downloader->getText();
    newer = reply.size() >= 5 && reply[0] == u'*' && reply.find(version) == std::u16string::npos;
  }
  downloader->release();
  return newer;
}

}  // namespace s::app::win
