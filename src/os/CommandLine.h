#pragma once

#include <string>
#include <vector>

namespace s::os {

// The arguments the process was started with, as the platform hands them
// over: bytes on Linux, UTF-16 on Windows.
class CommandLine {
 public:
  // The arguments after the program name, as UTF-8 texts. Linux: the bytes
  // of argv[1..argc) as given (names that are not UTF-8 stay as they are).
  // Windows: the process's UTF-16 command line (GetCommandLineW) split as
  // CommandLineToArgvW splits it, so that names outside the ANSI code page
  // survive; argc and argv are not used there, and a unit that is no
  // character (a lone surrogate) becomes U+FFFD. Never fails: when the
  // command line cannot be split, the narrow argv is taken. Called by the
  // main thread at start.
  static std::vector<std::string> arguments(int argc, char** argv);
};

}  // namespace s::os
