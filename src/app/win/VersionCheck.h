#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace s::lang {
class Localizer;
}
namespace s::map {
class IMappedData;
}

namespace s::app::win {

// At most once every 30 days, asks the maker's version page whether a newer
// version exists and, when one does, offers to open the product page. The
// time of the last visit is kept as `Update` (whole hours since 1970) in the
// group given (read and written on the interface thread, which owns the
// store). Blocks its caller for at most about kTimeoutMs plus the question;
// never the interface thread. Main thread.
class VersionCheck {
 public:
  static constexpr std::int32_t kTimeoutMs = 8000;
  static constexpr std::int64_t kPeriodHours = 720;

  // How a check ended.
  enum class Result {
    kNoUpdateText,  // the language has no update text: never checks
    kFirstStart,    // nothing stored yet: only the time was stored
    kNotDue,        // checked less than 30 days ago
    kOddVersion,    // the version text is not "x.yy"
    kOffline,       // the system reports no connection: nothing stored
    kNothingNewer,  // asked (or the fetch failed): no newer version
    kNewer,         // a newer version was offered
  };

  // `ask` shows the question (title, message) and answers Yes; `open` opens
  // an address.
  using Ask = std::function<bool(const std::u16string& title, const std::u16string& message)>;
  using Open = std::function<void(const std::u16string& address)>;

  // `settings`, `table` not owned; `group` is the record's "Version" group.
  VersionCheck(s::map::IMappedData* settings, std::u16string group, s::lang::Localizer* table);

  // Runs the check. See Result.
  Result run(const Ask& ask, const Open& open);

  // The hour count now: milliseconds since 1970-01-01 UTC / 1000 / 3600.
  static std::int64_t hoursNow();

  // The address asked: entry 500006 + "check/", or the whole address given
  // in VONQ_VERSION_PAGE (a test's local server).
  std::u16string checkAddress() const;

 private:
  bool newerOnline(const std::u16string& version);
  std::u16string text(std::int32_t id) const;

  s::map::IMappedData* settings_;
  std::u16string group_;
  s::lang::Localizer* table_;
};

}  // namespace s::app::win
