#pragma once

#include <span>

namespace s::app {

// The program icon compiled into the program (res/icons/vonq-<pixels>.png, drawn by
// tools/gen_icon.py): a PNG image, 8-bit RGBA with a transparent background, exactly `pixels`
// wide and high.
//
// Returns the PNG bytes for 16, 32, 48, 64, 128 and 256 pixels, and an empty span for any other
// size (the caller scales the nearest size it has). The bytes stay valid for the life of the
// process. Never fails, never allocates or copies. Any thread.
std::span<const unsigned char> programIconPng(int pixels);

}  // namespace s::app
