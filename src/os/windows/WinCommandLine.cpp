#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include "os/CodePage.h"
#include "os/CommandLine.h"
#include "os/windows/WinText.h"

namespace s::os {

namespace {

// The narrow arguments, in the ANSI code page.
std::vector<std::string> narrowArguments(int argc, char** argv) {
  std::vector<std::string> out;
  for (int i = 1; i < argc && argv != nullptr; ++i) {
    std::u16string wide;
    platformCodePage().toUtf16(CodePage::kAnsi, argv[i], wide);
    std::string text;
    platformCodePage().fromUtf16(CodePage::kUtf8, wide, text);
    out.push_back(std::move(text));
  }
  return out;
}

}  // namespace

std::vector<std::string> CommandLine::arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** split = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (split == nullptr) return narrowArguments(argc, argv);
  std::vector<std::string> out;
  for (int i = 1; i < count; ++i) {
    std::string text;
    platformCodePage().fromUtf16(CodePage::kUtf8, win_fs::fromWide(split[i]), text);
    out.push_back(std::move(text));
  }
  ::LocalFree(split);
  return out;
}

}  // namespace s::os
