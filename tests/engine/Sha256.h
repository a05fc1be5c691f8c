#pragma once

#include <cstdint>
#include <string>

namespace vonq::engine_test {

// SHA-256 of a whole file, as 64 lower-case hex digits; empty when the file
// cannot be read. Opens without updating the access time where allowed.
std::string sha256OfFile(const std::string& path);

// SHA-256 of `data`, as 64 lower-case hex digits.
std::string sha256(const std::string& data);

}  // namespace vonq::engine_test
