#pragma once

#include <string>

namespace vonq::test {

// `ascii` as NTFS stores names: UTF-16LE.
std::string utf16le(const std::string& ascii);

// The bytes of the MFT's first run in a raw NTFS image (the whole MFT on a
// young volume), as its boot sector and record 0 place it; empty when the
// image holds no readable NTFS.
std::string mftOf(const std::string& image);

}  // namespace vonq::test
