#include "support/Env.h"

#include <cstdlib>
#include <cstring>

namespace vonq::test {

bool underCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::strcmp(ci, "true") == 0;
}

}  // namespace vonq::test
