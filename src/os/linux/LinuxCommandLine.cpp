#include "os/CommandLine.h"

namespace s::os {

std::vector<std::string> CommandLine::arguments(int argc, char** argv) {
  if (argc < 1 || argv == nullptr) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace s::os
