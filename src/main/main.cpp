// vonq-drive-scrubber: the program with its window.

#include <cstdio>
#include <string>
#include <vector>

#include "app/win/CNulmarkApp.h"

int main(int argc, char** argv) {
  // Only the number of arguments matters, so each byte stands for itself.
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    arguments.emplace_back(argument.begin(), argument.end());
  }
  std::string complaints;
  const int code = s::app::win::CNulmarkApp::run(arguments, complaints);
  if (!complaints.empty()) std::fprintf(stderr, "vonq-drive-scrubber: %s", complaints.c_str());
  return code;
}
