#include <windows.h>

#include "os/System.h"

namespace s::os {

namespace {

// Clocks, sleeping, thread priorities and the UI language through Win32.
class WinSystem final : public System {
 public:
  // The performance counter: GetTickCount64 moves in steps of 10-16 ms,
  // too coarse to time short waits.
  std::uint64_t millis() override {
    LARGE_INTEGER count{}, frequency{};
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    const auto ticks = static_cast<std::uint64_t>(count.QuadPart);
    const auto perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
    return ticks / perSecond * 1000u + ticks % perSecond * 1000u / perSecond;
  }

  void sleepMillis(std::uint32_t ms) override {
    if (ms == 0) {
      ::SwitchToThread();
      return;
    }
    ::Sleep(ms);
  }

  std::uint32_t currentThreadId() override { return ::GetCurrentThreadId(); }

  // -2 .. 2 are THREAD_PRIORITY_LOWEST .. THREAD_PRIORITY_HIGHEST; values
  // beyond them are taken as the nearest end.
  bool setCurrentThreadPriority(int priority) override {
    const int clamped = priority < -2 ? -2 : (priority > 2 ? 2 : priority);
    return ::SetThreadPriority(::GetCurrentThread(), clamped) != 0;
  }

  std::uint16_t userLanguageId() override { return ::GetUserDefaultUILanguage(); }
  std::u16string systemFolder() override {
    wchar_t folder[MAX_PATH] = {0};
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return u"C:\\Windows";
    return std::u16string(folder, folder + length);
  }
};

}  // namespace

System& platformSystem() {
  // Never destroyed: workers and pools may still use it while the process
  // ends, after function-local statics made later are gone.
  static WinSystem* const instance = new WinSystem();
  return *instance;
}

}  // namespace s::os
