#pragma once

#include <string>

namespace s::file::wiper::win {

// Whether the engine's temporary files can be made in a drive's root, told
// before a run rather than found out during it.
class RootProbe {
 public:
  // True when this process can create a file in `root` (a folder path with
  // its trailing separator): a short-lived probe file of ours is made and
  // removed again. Never leaves the probe behind when it could be made.
  // Any thread.
  static bool mayCreateIn(const std::u16string& root);
};

}  // namespace s::file::wiper::win
