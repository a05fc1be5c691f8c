#include "xml/ValueText.h"

namespace s::xml {

namespace {

bool isBlank(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r');
}
bool isDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// Skips blanks and an optional sign; true when the sign was '-'.
bool readSign(const char16_t*& p) {
  while (isBlank(*p)) ++p;
  const bool negative = *p == u'-';
  if (*p == u'-' || *p == u'+') ++p;
  return negative;
}

// Accumulates digits while the magnitude stays at or below `limit`; true
// when more digits would have passed it.
bool readMagnitude(const char16_t* p, std::uint64_t limit, std::uint64_t& magnitude) {
  magnitude = 0;
  for (; isDigit(*p); ++p) {
    const std::uint64_t digit = static_cast<std::uint64_t>(*p - u'0');
    if (magnitude > (limit - digit) / 10) return true;
    magnitude = magnitude * 10 + digit;
  }
  return false;
}

}  // namespace

std::int64_t parseSignedValue(const char16_t* text, std::int64_t min, std::int64_t max) {
  if (text == nullptr) return 0;
  const char16_t* p = text;
  const bool negative = readSign(p);
  const std::uint64_t limit =
      negative ? static_cast<std::uint64_t>(-(min + 1)) + 1 : static_cast<std::uint64_t>(max);
  std::uint64_t magnitude = 0;
  if (readMagnitude(p, limit, magnitude)) return negative ? min : max;
  if (!negative) return static_cast<std::int64_t>(magnitude);
  return magnitude == limit ? min : -static_cast<std::int64_t>(magnitude);
}

std::uint32_t parseUnsignedValue(const char16_t* text) {
  if (text == nullptr) return 0;
  const char16_t* p = text;
  const bool negative = readSign(p);
  std::uint64_t magnitude = 0;
  if (readMagnitude(p, 0xFFFFFFFFu, magnitude)) return 0xFFFFFFFFu;
  const auto value = static_cast<std::uint32_t>(magnitude);
  return negative ? 0u - value : value;
}

bool parseBooleanValue(const char16_t* text) {
  if (text == nullptr) return false;
  return text[0] == u'1' ||
         (text[0] == u't' && text[1] == u'r' && text[2] == u'u' && text[3] == u'e');
}

}  // namespace s::xml
