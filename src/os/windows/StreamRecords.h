#pragma once

#include <cstdint>
#include <vector>

#include "os/StreamEntry.h"

namespace s::os::win_fs {

// The answer of the stream information query (FileStreamInformation): a
// chain of FILE_STREAM_INFORMATION records (next-entry offset, name length
// in bytes, size, allocation size, UTF-16 name such as ":extra:$DATA").
class StreamRecords {
 public:
  // Appends the named data streams the records of `buffer` hold to `out`,
  // in their order: the main stream "::$DATA" is left out and each name is
  // cut at its second ':' (":extra:$DATA" becomes ":extra"). A record that
  // runs past the end of the buffer ends the parse; nothing is read outside
  // the buffer. No state; any thread.
  static void parse(const std::vector<std::uint8_t>& buffer, std::vector<StreamEntry>& out);
};

}  // namespace s::os::win_fs
