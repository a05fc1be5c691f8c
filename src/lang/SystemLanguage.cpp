#include "lang/SystemLanguage.h"

#include <string>

#include "os/System.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::lang {

namespace {

struct NamedId {
  std::uint16_t id;
  const char* name;
};

// Full identifiers that name a language variant of their own. Serbian
// (Latin and Cyrillic, Serbia and Montenegro) also under the identifiers
// that current systems report, so that their users get their script.
constexpr NamedId kFullIds[] = {
    {4, "CHINESE_SIMPLIFIED"},
    {2052, "CHINESE_SIMPLIFIED"},
    {4100, "CHINESE_SIMPLIFIED"},
    {1028, "CHINESE_TRADITIONAL"},
    {3076, "CHINESE_TRADITIONAL"},
    {5124, "CHINESE_TRADITIONAL"},
    {31748, "CHINESE_TRADITIONAL"},
    {1046, "PORTUGUESE_BRAZILIAN"},
    {2070, "PORTUGUESE_PORTUGAL"},
    {26, "CROATIAN"},
    {1050, "CROATIAN"},
    {4122, "CROATIAN"},
    {2074, "SERBIAN_LATIN"},
    {6170, "SERBIAN_LATIN"},
    {9242, "SERBIAN_LATIN"},
    {11290, "SERBIAN_LATIN"},
    {3098, "SERBIAN_CYRILLIC"},
    {7194, "SERBIAN_CYRILLIC"},
    {10266, "SERBIAN_CYRILLIC"},
    {12314, "SERBIAN_CYRILLIC"},
    {8218, "BOSNIAN"},
    {31770, "SERBIAN"},
    {1070, "UPPER_SORBIAN"},
    {2094, "LOWER_SORBIAN"},
};

// The primary languages (LANG_ constants without their prefix). Where two
// constants share a value, the first one the system headers define.
constexpr NamedId kPrimaryIds[] = {
    {0x00, "NEUTRAL"},
    {0x01, "ARABIC"},
    {0x02, "BULGARIAN"},
    {0x03, "CATALAN"},
    {0x04, "CHINESE"},
    {0x05, "CZECH"},
    {0x06, "DANISH"},
    {0x07, "GERMAN"},
    {0x08, "GREEK"},
    {0x09, "ENGLISH"},
    {0x0a, "SPANISH"},
    {0x0b, "FINNISH"},
    {0x0c, "FRENCH"},
    {0x0d, "HEBREW"},
    {0x0e, "HUNGARIAN"},
    {0x0f, "ICELANDIC"},
    {0x10, "ITALIAN"},
    {0x11, "JAPANESE"},
    {0x12, "KOREAN"},
    {0x13, "DUTCH"},
    {0x14, "NORWEGIAN"},
    {0x15, "POLISH"},
    {0x16, "PORTUGUESE"},
    {0x17, "ROMANSH"},
    {0x18, "ROMANIAN"},
    {0x19, "RUSSIAN"},
    {0x1a, "SERBIAN"},
    {0x1b, "SLOVAK"},
    {0x1c, "ALBANIAN"},
    {0x1d, "SWEDISH"},
    {0x1e, "THAI"},
    {0x1f, "TURKISH"},
    {0x20, "URDU"},
    {0x21, "INDONESIAN"},
    {0x22, "UKRAINIAN"},
    {0x23, "BELARUSIAN"},
    {0x24, "SLOVENIAN"},
    {0x25, "ESTONIAN"},
    {0x26, "LATVIAN"},
    {0x27, "LITHUANIAN"},
    {0x28, "TAJIK"},
    {0x29, "PERSIAN"},
    {0x2a, "VIETNAMESE"},
    {0x2b, "ARMENIAN"},
    {0x2c, "AZERI"},
    {0x2d, "BASQUE"},
    {0x2e, "UPPER_SORBIAN"},
    {0x2f, "MACEDONIAN"},
    {0x32, "TSWANA"},
    {0x34, "XHOSA"},
    {0x35, "ZULU"},
    {0x36, "AFRIKAANS"},
    {0x37, "GEORGIAN"},
    {0x38, "FAEROESE"},
    {0x39, "HINDI"},
    {0x3a, "MALTESE"},
    {0x3b, "SAMI"},
    {0x3c, "IRISH"},
    {0x3e, "MALAY"},
    {0x3f, "KAZAK"},
    {0x40, "KYRGYZ"},
    {0x41, "SWAHILI"},
    {0x42, "TURKMEN"},
    {0x43, "UZBEK"},
    {0x44, "TATAR"},
    {0x45, "BENGALI"},
    {0x46, "PUNJABI"},
    {0x47, "GUJARATI"},
    {0x48, "ORIYA"},
    {0x49, "TAMIL"},
    {0x4a, "TELUGU"},
    {0x4b, "KANNADA"},
    {0x4c, "MALAYALAM"},
    {0x4d, "ASSAMESE"},
    {0x4e, "MARATHI"},
    {0x4f, "SANSKRIT"},
    {0x50, "MONGOLIAN"},
    {0x51, "TIBETAN"},
    {0x52, "WELSH"},
    {0x53, "KHMER"},
    {0x54, "LAO"},
    {0x56, "GALICIAN"},
    {0x57, "KONKANI"},
    {0x58, "MANIPURI"},
    {0x59, "SINDHI"},
    {0x5a, "SYRIAC"},
    {0x5b, "SINHALESE"},
    {0x5c, "CHEROKEE"},
    {0x5d, "INUKTITUT"},
    {0x5e, "AMHARIC"},
    {0x5f, "TAMAZIGHT"},
    {0x60, "KASHMIRI"},
    {0x61, "NEPALI"},
    {0x62, "FRISIAN"},
    {0x63, "PASHTO"},
    {0x64, "FILIPINO"},
    {0x65, "DIVEHI"},
    {0x67, "FULAH"},
    {0x68, "HAUSA"},
    {0x6a, "YORUBA"},
    {0x6b, "QUECHUA"},
    {0x6c, "SOTHO"},
    {0x6d, "BASHKIR"},
    {0x6e, "LUXEMBOURGISH"},
    {0x6f, "GREENLANDIC"},
    {0x70, "IGBO"},
    {0x73, "TIGRIGNA"},
    {0x75, "HAWAIIAN"},
    {0x78, "YI"},
    {0x7a, "MAPUDUNGUN"},
    {0x7c, "MOHAWK"},
    {0x7e, "BRETON"},
    {0x7f, "INVARIANT"},
    {0x80, "UIGHUR"},
    {0x81, "MAORI"},
    {0x82, "OCCITAN"},
    {0x83, "CORSICAN"},
    {0x84, "ALSATIAN"},
    {0x85, "SAKHA"},
    {0x86, "KICHE"},
    {0x87, "KINYARWANDA"},
    {0x88, "WOLOF"},
    {0x8c, "DARI"},
    {0x91, "SCOTTISH_GAELIC"},
    {0x92, "CENTRAL_KURDISH"},
};

template <std::size_t N>
const char* lookUp(const NamedId (&table)[N], std::uint16_t id) {
  for (const NamedId& entry : table) {
    if (entry.id == id) return entry.name;
  }
  return nullptr;
}

// "GERMAN" -> "German", "CHINESE_SIMPLIFIED" -> "Chinese_simplified".
void appendCapitalised(s::str::IStr& out, const char* name) {
  for (std::size_t i = 0; name[i] != 0; ++i) {
    char c = name[i];
    if (i > 0 && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    out.appendChar(c);
  }
}

}  // namespace

void languageNameOf(std::uint16_t languageId, s::str::IStr& out) {
  out.clear();
  const char* name = lookUp(kFullIds, languageId);
  if (name == nullptr) name = lookUp(kPrimaryIds, languageId & 0xFF);
  if (name == nullptr) {
    out.append(u"Unknown", -1);
    return;
  }
  appendCapitalised(out, name);
}

const char16_t* systemLanguageName() {
  static const std::u16string name = [] {
    s::str::strbuffer::StrBuffer* text = s::str::strbuffer::StrBuffer::create();
    languageNameOf(s::os::system().userLanguageId(), *text);
    std::u16string copy(text->view());
    text->release();
    return copy;
  }();
  return name.c_str();
}

}  // namespace s::lang
