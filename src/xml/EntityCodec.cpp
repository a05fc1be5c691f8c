#include "xml/EntityCodec.h"

#include <cstring>

namespace s::xml {

namespace {

struct Entity {
  const char16_t* form;
  std::uint32_t length;
  char16_t character;
  bool keepsWhitespace;  // decoded whitespace that text trimming must not remove
};

constexpr Entity kAmp{u"&amp;", 5, u'&', false};
constexpr Entity kLt{u"&lt;", 4, u'<', false};
constexpr Entity kGt{u"&gt;", 4, u'>', false};
constexpr Entity kQuot{u"&quot;", 6, u'"', false};
constexpr Entity kCr{u"&#13;", 5, u'\r', true};
constexpr Entity kLf{u"&#10;", 5, u'\n', true};
constexpr Entity kSpace{u"&#160;", 6, u' ', true};

constexpr Entity kAttributeDecode[] = {kAmp, kLt, kQuot, kCr, kLf};
constexpr Entity kTextDecode[] = {kAmp, kLt, kGt, kSpace, kCr, kLf};
constexpr Entity kAttributeEncode[] = {kLf, kCr, kQuot, kAmp, kLt};
constexpr Entity kTextEncode[] = {kLf, kCr, kSpace, kAmp, kLt, kGt};

template <std::size_t N>
void encode(s::str::IStr& out, const char16_t* text, std::uint32_t length,
            const Entity (&entities)[N]) {
  for (std::uint32_t i = 0; i < length; ++i) {
    const Entity* match = nullptr;
    for (const Entity& e : entities) {
      if (e.character == text[i]) match = &e;
    }
    if (match != nullptr) {
      out.append(match->form, static_cast<std::int32_t>(match->length));
    } else {
      out.appendChar(text[i]);
    }
  }
}

// The entity of `entities` spelled at text[i..length), or null.
template <std::size_t N>
const Entity* entityAt(const char16_t* text, std::uint32_t i, std::uint32_t length,
                       const Entity (&entities)[N]) {
  for (const Entity& e : entities) {
    if (length - i >= e.length && std::memcmp(text + i, e.form, e.length * sizeof(char16_t)) == 0) {
      return &e;
    }
  }
  return nullptr;
}

// Decodes into `out`; returns the length `out` had just after the last
// decoded entity that keeps whitespace (the start length when none did).
template <std::size_t N>
std::uint32_t decode(s::str::IStr& out, const char16_t* text, std::uint32_t from,
                     std::uint32_t length, const Entity (&entities)[N]) {
  std::uint32_t kept = out.length();
  for (std::uint32_t i = from; i < length;) {
    const Entity* e = text[i] == u'&' ? entityAt(text, i, length, entities) : nullptr;
    if (e == nullptr) {
      out.appendChar(text[i++]);
      continue;
    }
    out.appendChar(e->character);
    i += e->length;
    if (e->keepsWhitespace) kept = out.length();
  }
  return kept;
}

bool isLeadingWhitespace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

}  // namespace

void EntityCodec::encodeAttribute(s::str::IStr& out, const char16_t* text, std::uint32_t length) {
  if (text != nullptr) encode(out, text, length, kAttributeEncode);
}

void EntityCodec::decodeAttribute(s::str::IStr& out, const char16_t* text, std::uint32_t length) {
  if (text != nullptr) decode(out, text, 0, length, kAttributeDecode);
}

void EntityCodec::encodeText(s::str::IStr& out, const char16_t* text, std::uint32_t length) {
  if (text != nullptr) encode(out, text, length, kTextEncode);
}

void EntityCodec::decodeText(s::str::IStr& out, const char16_t* text, std::uint32_t length) {
  if (text == nullptr) return;
  std::uint32_t from = 0;
  while (from < length && isLeadingWhitespace(text[from])) ++from;
  const std::uint32_t kept = decode(out, text, from, length, kTextDecode);
  out.trimRightWhitespace(kept);
}

}  // namespace s::xml
