#pragma once

#include <span>

namespace s::lang {

// The language table compiled into the program (res/lang.xml): an XML document in UTF-8
// without byte-order mark, with CR LF line ends, root element first.
//
// Returns a view of the whole document, valid for the life of the process; the byte just past
// its end is a zero, so the bytes may also be read as a terminated string. Never empty in a
// built program, never fails, never allocates or copies. Any thread.
std::span<const unsigned char> embeddedTable();

}  // namespace s::lang
