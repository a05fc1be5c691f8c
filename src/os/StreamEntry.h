#pragma once

#include <cstdint>
#include <string>

namespace s::os {

// One named data stream of a file or folder.
struct StreamEntry {
  std::u16string name;     // with its leading ':' and without the type (":extra")
  std::uint64_t size = 0;  // bytes of the stream's data
};

}  // namespace s::os
