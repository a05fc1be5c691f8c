#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "os/CodePage.h"
#include "os/linux/CodeUnits.h"

namespace s::os {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// ---- UTF-8, as the Windows conversion without flags treats it: each
// maximal invalid subsequence becomes one U+FFFD, a lone surrogate is
// encoded as U+FFFD.

// The range the second byte of a sequence led by `lead` must fall in.
void secondByteRange(unsigned char lead, unsigned char& low, unsigned char& high) {
  low = 0x80;
  high = 0xBF;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
}

int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

void decodeUtf8(std::string_view bytes, std::u16string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char lead = p[i];
    const int len = sequenceLength(lead);
    if (len == 1) {
      out.push_back(lead);
      ++i;
      continue;
    }
    if (len == 0) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    std::uint32_t cp = lead & (0xFF >> (len + 1));
    std::size_t j = i + 1;
    unsigned char low;
    unsigned char high;
    secondByteRange(lead, low, high);
    for (int k = 1; k < len; ++k, ++j) {
      if (j >= n || p[j] < low || p[j] > high) break;
      cp = (cp << 6) | (p[j] & 0x3F);
      low = 0x80;
      high = 0xBF;
    }
    if (j - i == static_cast<std::size_t>(len)) {
      linux_fs::CodeUnits::appendUtf16(out, cp);
    } else {
      out.push_back(kReplacement);
    }
    i = j;
  }
}

void encodeUtf8(std::u16string_view text, std::string& out) {
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    std::uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    linux_fs::CodeUnits::appendUtf8(out, cp);
  }
}

// ---- Other code pages through iconv. The UTF-16 side is always UTF-16LE,
// assembled and split byte by byte so that the host's byte order does not
// matter.

// The character set of the user's locale, read without touching the
// process's global locale.
std::string localeCharset() {
  std::string name = "ANSI_X3.4-1968";
  locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return name;
  const char* set = nl_langinfo_l(CODESET, loc);
  if (set != nullptr && *set != '\0') name = set;
  freelocale(loc);
  return name;
}

const std::string& userCharset() {
  static const std::string charset = localeCharset();
  return charset;
}

bool isUtf8Name(const std::string& name) {
  return name == "UTF-8" || name == "utf8";
}

// The iconv name of a code page number.
std::string charsetOf(std::uint32_t codePage) {
  switch (codePage) {
    case CodePage::kAnsi:
    case CodePage::kOem:
      return userCharset();
    case CodePage::kUtf16Le:
      return "UTF-16LE";
    case CodePage::kUtf16Be:
      return "UTF-16BE";
    case CodePage::kAscii:
      return "ANSI_X3.4-1968";
    case CodePage::kUtf8:
      return "UTF-8";
    default:
      break;
  }
  if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
  if (codePage == 28605) return "ISO-8859-15";
  return "CP" + std::to_string(codePage);
}

// The number of a character set (the reverse of charsetOf), or `fallback`.
std::uint32_t numberOf(const std::string& name, std::uint32_t fallback) {
  if (isUtf8Name(name)) return CodePage::kUtf8;
  if (name == "ANSI_X3.4-1968" || name == "ASCII") return CodePage::kAscii;
  if (name == "ISO-8859-15") return 28605;
  if (name.rfind("ISO-8859-", 0) == 0) {
    const int part = std::atoi(name.c_str() + 9);
    if (part >= 1 && part <= 9) return 28590 + static_cast<std::uint32_t>(part);
  }
  if (name.rfind("CP", 0) == 0) {
    const int number = std::atoi(name.c_str() + 2);
    if (number > 0) return static_cast<std::uint32_t>(number);
  }
  return fallback;
}

// One iconv descriptor for one call (descriptors are not shareable between
// threads).
class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`; `onInvalid(step)` is told of each input position
  // iconv refuses and returns how many input bytes to skip there. `flush`
  // receives converted bytes.
  template <class OnInvalid, class Flush>
  void run(const char* in, std::size_t size, OnInvalid onInvalid, Flush flush) {
    char buffer[1024];
    char* src = const_cast<char*>(in);
    std::size_t left = size;
    while (left > 0) {
      char* dst = buffer;
      std::size_t room = sizeof(buffer);
      const std::size_t done = iconv(cd_, &src, &left, &dst, &room);
      const int error = errno;
      flush(buffer, static_cast<std::size_t>(dst - buffer));
      if (done != static_cast<std::size_t>(-1) || error == E2BIG) continue;
      const std::size_t skip = onInvalid(src, left, error == EINVAL);
      src += skip;
      left -= skip;
    }
  }

 private:
  iconv_t cd_;
};

bool iconvToUtf16(const std::string& charset, std::string_view bytes, std::u16string& out) {
  Converter converter("UTF-16LE", charset);
  if (!converter.ok()) return false;
  std::u16string result;
  std::string odd;  // a byte of a unit split between two flushes
  converter.run(
      bytes.data(), bytes.size(),
      [&](const char*, std::size_t left, bool incomplete) -> std::size_t {
        result.push_back(kReplacement);
        return incomplete ? left : 1;
      },
      [&](const char* data, std::size_t n) {
        odd.append(data, n);
        std::size_t i = 0;
        for (; i + 1 < odd.size(); i += 2) {
          result.push_back(static_cast<char16_t>(static_cast<unsigned char>(odd[i]) |
                                                 (static_cast<unsigned char>(odd[i + 1]) << 8)));
        }
        odd.erase(0, i);
      });
  out += result;
  return true;
}

bool iconvFromUtf16(const std::string& charset, std::u16string_view text, std::string& out) {
  Converter converter(charset, "UTF-16LE");
  if (!converter.ok()) return false;
  std::string input;
  input.reserve(text.size() * 2);
  for (char16_t unit : text) {
    input.push_back(static_cast<char>(unit & 0xFF));
    input.push_back(static_cast<char>(unit >> 8));
  }
  std::string result;
  converter.run(
      input.data(), input.size(),
      [&](const char* at, std::size_t left, bool incomplete) -> std::size_t {
        result.push_back('?');
        if (incomplete || left < 2) return left;
        // A valid surrogate pair the target cannot express is one '?'.
        const unsigned high = static_cast<unsigned char>(at[1]);
        const unsigned nextHigh = left >= 4 ? static_cast<unsigned char>(at[3]) : 0u;
        const bool pair = high >= 0xD8 && high <= 0xDB && nextHigh >= 0xDC && nextHigh <= 0xDF;
        return pair ? 4 : 2;
      },
      [&](const char* data, std::size_t n) { result.append(data, n); });
  out += result;
  return true;
}

class LinuxCodePage final : public CodePage {
 public:
  bool toUtf16(std::uint32_t codePage, std::string_view bytes, std::u16string& out) override {
    const std::string charset = charsetOf(codePage);
    if (isUtf8Name(charset)) {
      decodeUtf8(bytes, out);
      return true;
    }
    return iconvToUtf16(charset, bytes, out);
  }

  bool fromUtf16(std::uint32_t codePage, std::u16string_view text, std::string& out) override {
    const std::string charset = charsetOf(codePage);
    if (isUtf8Name(charset)) {
      encodeUtf8(text, out);
      return true;
    }
    return iconvFromUtf16(charset, text, out);
  }

  std::uint32_t oemCodePage() override { return numberOf(userCharset(), kOem); }
  std::uint32_t ansiCodePage() override { return numberOf(userCharset(), kAnsi); }
};

}  // namespace

CodePage& platformCodePage() {
  static LinuxCodePage instance;
  return instance;
}

}  // namespace s::os
