#include "str/strbuffer/Formatter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "str/strbuffer/StrBuffer.h"

namespace s::str::strbuffer {

namespace {

// A va_list wrapped so that helpers can take it by reference on every ABI.
struct Args {
  std::va_list ap;
};

enum class Size { kDefault, kChar, kShort, kLong, kLongLong, kSize, kMax, kPtrDiff, kLongDouble };

struct Directive {
  std::string flags;
  int width = -1;
  int precision = -1;
  Size size = Size::kDefault;
  char conversion = 0;
  bool leftAlign() const { return flags.find('-') != std::string::npos; }
};

bool isFlag(char16_t c) {
  return c == u'-' || c == u'+' || c == u' ' || c == u'#' || c == u'0';
}
bool isDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// Widths and precisions beyond this are cut to it, so that a stray format
// cannot ask for gigabytes.
constexpr int kMaxWidth = 1 << 20;

// Reads a decimal number, capped at kMaxWidth.
int readNumber(const char16_t*& p) {
  int value = 0;
  for (; isDigit(*p); ++p) value = std::min(value * 10 + (*p - u'0'), kMaxWidth);
  return value;
}

bool startsWith(const char16_t* p, const char16_t* prefix) {
  for (; *prefix != 0; ++p, ++prefix) {
    if (*p != *prefix) return false;
  }
  return true;
}

Size readSize(const char16_t*& p) {
  struct Prefix {
    const char16_t* text;
    std::size_t length;
    Size size;
  };
  static constexpr Prefix kPrefixes[] = {
      {u"hh", 2, Size::kChar},    {u"h", 1, Size::kShort},      {u"ll", 2, Size::kLongLong},
      {u"l", 1, Size::kLong},     {u"I64", 3, Size::kLongLong}, {u"I32", 3, Size::kDefault},
      {u"q", 1, Size::kLongLong}, {u"z", 1, Size::kSize},       {u"j", 1, Size::kMax},
      {u"t", 1, Size::kPtrDiff},  {u"L", 1, Size::kLongDouble}};
  for (const Prefix& prefix : kPrefixes) {
    if (startsWith(p, prefix.text)) {
      p += prefix.length;
      return prefix.size;
    }
  }
  return Size::kDefault;
}

bool isConversion(char16_t c) {
  constexpr char16_t kConversions[] = u"diouxXcsfFeEgGaApn%";
  for (const char16_t* k = kConversions; *k != 0; ++k) {
    if (*k == c) return true;
  }
  return false;
}

// Parses the directive after a '%'; `p` ends after what was read. False for
// an unknown or unfinished directive.
bool parseDirective(const char16_t*& p, Directive& directive, Args& args) {
  for (; isFlag(*p); ++p) directive.flags.push_back(static_cast<char>(*p));
  if (*p == u'*') {
    ++p;
    const int width = va_arg(args.ap, int);
    if (width < 0) directive.flags.push_back('-');
    directive.width =
        width < -kMaxWidth || width > kMaxWidth ? kMaxWidth : (width < 0 ? -width : width);
  } else if (isDigit(*p)) {
    directive.width = readNumber(p);
  }
  if (*p == u'.') {
    ++p;
    if (*p == u'*') {
      ++p;
      const int precision = va_arg(args.ap, int);
      directive.precision = precision < 0 ? -1 : std::min(precision, kMaxWidth);
    } else {
      directive.precision = readNumber(p);
    }
  }
  directive.size = readSize(p);
  if (!isConversion(*p)) {
    if (*p != 0) ++p;
    return false;
  }
  directive.conversion = static_cast<char>(*p++);
  return true;
}

// The narrow printf directive for `directive` with the given size prefix.
std::string narrowDirective(const Directive& directive, const char* size) {
  std::string s = "%" + directive.flags;
  if (directive.width >= 0) s += std::to_string(directive.width);
  if (directive.precision >= 0) s += "." + std::to_string(directive.precision);
  return s + size + directive.conversion;
}

template <class T>
void appendPrintf(StrBuffer& out, const std::string& directive, T value) {
  char small[128];
  const int n = std::snprintf(small, sizeof(small), directive.c_str(), value);
  if (n < 0) return;
  if (static_cast<std::size_t>(n) < sizeof(small)) {
    out.appendAscii(small, n);
    return;
  }
  std::string large(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(large.data(), large.size(), directive.c_str(), value);
  out.appendAscii(large.data(), n);
}

long long signedArg(Size size, Args& args) {
  switch (size) {
    case Size::kChar:
      return static_cast<signed char>(va_arg(args.ap, int));
    case Size::kShort:
      return static_cast<short>(va_arg(args.ap, int));
    case Size::kLong:
      return va_arg(args.ap, long);
    case Size::kLongLong:
      return va_arg(args.ap, long long);
    case Size::kSize:
    case Size::kPtrDiff:
      return va_arg(args.ap, std::ptrdiff_t);
    case Size::kMax:
      return static_cast<long long>(va_arg(args.ap, std::intmax_t));
    default:
      return va_arg(args.ap, int);
  }
}

unsigned long long unsignedArg(Size size, Args& args) {
  switch (size) {
    case Size::kChar:
      return static_cast<unsigned char>(va_arg(args.ap, unsigned));
    case Size::kShort:
      return static_cast<unsigned short>(va_arg(args.ap, unsigned));
    case Size::kLong:
      return va_arg(args.ap, unsigned long);
    case Size::kLongLong:
      return va_arg(args.ap, unsigned long long);
    case Size::kSize:
    case Size::kPtrDiff:
      return va_arg(args.ap, std::size_t);
    case Size::kMax:
      return static_cast<unsigned long long>(va_arg(args.ap, std::uintmax_t));
    default:
      return va_arg(args.ap, unsigned);
  }
}

void appendPadding(StrBuffer& out, int count) {
  for (int i = 0; i < count; ++i) out.appendChar(u' ');
}

// Appends `n` units (or bytes widened) padded to the width.
template <class Unit>
void appendPadded(StrBuffer& out, const Directive& directive, const Unit* text, std::size_t n) {
  if (directive.precision >= 0 && n > static_cast<std::size_t>(directive.precision)) {
    n = static_cast<std::size_t>(directive.precision);
  }
  const int pad = directive.width > static_cast<int>(n) ? directive.width - static_cast<int>(n) : 0;
  if (!directive.leftAlign()) appendPadding(out, pad);
  if constexpr (sizeof(Unit) == 1) {
    out.appendAscii(text, static_cast<std::int32_t>(n));
  } else {
    out.append(text, static_cast<std::int32_t>(n));
  }
  if (directive.leftAlign()) appendPadding(out, pad);
}

template <class Unit>
std::size_t lengthWithin(const Unit* text, int precision) {
  std::size_t n = 0;
  while ((precision < 0 || n < static_cast<std::size_t>(precision)) && text[n] != 0) ++n;
  return n;
}

void appendText(StrBuffer& out, const Directive& directive, Args& args) {
  if (directive.size == Size::kShort) {
    const char* text = va_arg(args.ap, const char*);
    if (text == nullptr) text = "(null)";
    appendPadded(out, directive, text, lengthWithin(text, directive.precision));
    return;
  }
  const char16_t* text = va_arg(args.ap, const char16_t*);
  if (text == nullptr) text = u"(null)";
  appendPadded(out, directive, text, lengthWithin(text, directive.precision));
}

void appendDirective(StrBuffer& out, const Directive& directive, Args& args) {
  switch (directive.conversion) {
    case '%':
      out.appendChar(u'%');
      return;
    case 'd':
    case 'i':
      appendPrintf(out, narrowDirective(directive, "ll"), signedArg(directive.size, args));
      return;
    case 'u':
    case 'o':
    case 'x':
    case 'X':
      appendPrintf(out, narrowDirective(directive, "ll"), unsignedArg(directive.size, args));
      return;
    case 'c': {
      const auto ch = static_cast<char16_t>(va_arg(args.ap, int));
      Directive single = directive;
      single.precision = -1;
      appendPadded(out, single, &ch, 1);
      return;
    }
    case 's':
      appendText(out, directive, args);
      return;
    case 'p':
      appendPrintf(out, narrowDirective(directive, ""), va_arg(args.ap, void*));
      return;
    case 'n':
      (void)va_arg(args.ap, void*);  // never written through
      return;
    default:
      break;
  }
  if (directive.size == Size::kLongDouble) {
    appendPrintf(out, narrowDirective(directive, "L"), va_arg(args.ap, long double));
  } else {
    appendPrintf(out, narrowDirective(directive, ""), va_arg(args.ap, double));
  }
}

}  // namespace

void Formatter::appendFormat(StrBuffer& out, const char16_t* format, std::va_list args) {
  if (format == nullptr) return;
  Args own;
  va_copy(own.ap, args);
  const char16_t* p = format;
  while (*p != 0) {
    const char16_t* run = p;
    while (*p != 0 && *p != u'%') ++p;
    out.append(run, static_cast<std::int32_t>(p - run));
    if (*p == 0) break;
    const char16_t* start = p++;
    Directive directive;
    if (parseDirective(p, directive, own)) {
      appendDirective(out, directive, own);
    } else {
      out.append(start, static_cast<std::int32_t>(p - start));
    }
  }
  va_end(own.ap);
}

}  // namespace s::str::strbuffer
