#pragma once

namespace s::os {

// Whether some other handle holds a file open.
enum class OpenState {
  Free,     // no other handle has it open
  InUse,    // another handle (of any process, this one included) has it open
  Unknown,  // the system would not tell (not the owner, not a regular file, ...)
};

}  // namespace s::os
