#include <urlmon.h>
#include <windows.h>
#include <wininet.h>

#include "os/Http.h"
#include "os/windows/WinText.h"

namespace s::os {

namespace {

// The HTTP client on the system's URL-to-file service. It cannot be
// interrupted part-way: a caller that gives up abandons the worker waiting
// here (the download then ends on its own and its file is removed).
class WinHttp final : public Http {
 public:
  bool connected() override {
    DWORD flags = 0;
    return ::InternetGetConnectedState(&flags, 0) != FALSE &&
           (flags & INTERNET_CONNECTION_OFFLINE) == 0;
  }

  bool download(const std::u16string& url, const std::u16string& path,
                const std::atomic<bool>& cancel) override {
    if (cancel.load()) return false;
    const std::wstring target = win_fs::toWide(path);
    const bool ok = SUCCEEDED(
        ::URLDownloadToFileW(nullptr, win_fs::toWide(url).c_str(), target.c_str(), 0, nullptr));
    if (!ok || cancel.load()) {
      ::DeleteFileW(target.c_str());
      return false;
    }
    return true;
  }
};

}  // namespace

Http& platformHttp() {
  static WinHttp* const instance = new WinHttp();
  return *instance;
}

}  // namespace s::os
