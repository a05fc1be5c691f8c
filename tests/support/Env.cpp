#include "support/Env.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vonq::test {

bool underCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::strcmp(ci, "true") == 0;
}

std::string commandOutput(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) out += buffer;
  return out;
}

}  // namespace vonq::test
