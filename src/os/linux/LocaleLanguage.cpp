#include "os/linux/LocaleLanguage.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace s::os::linux_impl {

namespace {

constexpr std::uint16_t kEnglish = 0x0409;

struct LocaleId {
  const char* name;  // "ll", "ll_CC", "ll@mod" or "ll_CC@mod"
  std::uint16_t id;
};

// Windows language identifiers by locale name. A language's own line gives
// the identifier of its main country; other countries follow where Windows
// has an identifier of their own.
constexpr LocaleId kLocales[] = {
    {"af", 0x0436},          {"am", 0x045E},
    {"ar", 0x0401},          {"ar_EG", 0x0C01},
    {"as", 0x044D},          {"az", 0x042C},
    {"ba", 0x046D},          {"be", 0x0423},
    {"bg", 0x0402},          {"bn", 0x0445},
    {"bo", 0x0451},          {"br", 0x047E},
    {"bs", 0x141A},          {"ca", 0x0403},
    {"ckb", 0x0492},         {"co", 0x0483},
    {"cs", 0x0405},          {"cy", 0x0452},
    {"da", 0x0406},          {"de", 0x0407},
    {"de_AT", 0x0C07},       {"de_CH", 0x0807},
    {"de_LI", 0x1407},       {"de_LU", 0x1007},
    {"dsb", 0x082E},         {"dv", 0x0465},
    {"el", 0x0408},          {"en", 0x0409},
    {"en_AU", 0x0C09},       {"en_CA", 0x1009},
    {"en_GB", 0x0809},       {"en_IE", 0x1809},
    {"en_IN", 0x4009},       {"en_NZ", 0x1409},
    {"en_ZA", 0x1C09},       {"es", 0x0C0A},
    {"es_AR", 0x2C0A},       {"es_CL", 0x340A},
    {"es_CO", 0x240A},       {"es_MX", 0x080A},
    {"es_US", 0x540A},       {"et", 0x0425},
    {"eu", 0x042D},          {"fa", 0x0429},
    {"fi", 0x040B},          {"fil", 0x0464},
    {"fo", 0x0438},          {"fr", 0x040C},
    {"fr_BE", 0x080C},       {"fr_CA", 0x0C0C},
    {"fr_CH", 0x100C},       {"fr_LU", 0x140C},
    {"fy", 0x0462},          {"ga", 0x083C},
    {"gd", 0x0491},          {"gl", 0x0456},
    {"gu", 0x0447},          {"ha", 0x0468},
    {"he", 0x040D},          {"hi", 0x0439},
    {"hr", 0x041A},          {"hr_BA", 0x101A},
    {"hsb", 0x042E},         {"hu", 0x040E},
    {"hy", 0x042B},          {"id", 0x0421},
    {"ig", 0x0470},          {"in", 0x0421},
    {"is", 0x040F},          {"it", 0x0410},
    {"it_CH", 0x0810},       {"iu", 0x045D},
    {"iw", 0x040D},          {"ja", 0x0411},
    {"ka", 0x0437},          {"kk", 0x043F},
    {"kl", 0x046F},          {"km", 0x0453},
    {"kn", 0x044B},          {"ko", 0x0412},
    {"kok", 0x0457},         {"ky", 0x0440},
    {"lb", 0x046E},          {"lo", 0x0454},
    {"lt", 0x0427},          {"lv", 0x0426},
    {"mi", 0x0481},          {"mk", 0x042F},
    {"ml", 0x044C},          {"mn", 0x0450},
    {"mr", 0x044E},          {"ms", 0x043E},
    {"mt", 0x043A},          {"nb", 0x0414},
    {"ne", 0x0461},          {"nl", 0x0413},
    {"nl_BE", 0x0813},       {"nn", 0x0814},
    {"no", 0x0414},          {"oc", 0x0482},
    {"or", 0x0448},          {"pa", 0x0446},
    {"pl", 0x0415},          {"ps", 0x0463},
    {"pt", 0x0816},          {"pt_BR", 0x0416},
    {"pt_PT", 0x0816},       {"rm", 0x0417},
    {"ro", 0x0418},          {"ru", 0x0419},
    {"rw", 0x0487},          {"sa", 0x044F},
    {"sah", 0x0485},         {"se", 0x043B},
    {"si", 0x045B},          {"sk", 0x041B},
    {"sl", 0x0424},          {"sq", 0x041C},
    {"sr", 0x281A},          {"sr@latin", 0x241A},
    {"sr_ME", 0x2C1A},       {"sr_ME@cyrillic", 0x301A},
    {"sr_RS", 0x281A},       {"sr_RS@latin", 0x241A},
    {"sv", 0x041D},          {"sv_FI", 0x081D},
    {"sw", 0x0441},          {"syr", 0x045A},
    {"ta", 0x0449},          {"te", 0x044A},
    {"tg", 0x0428},          {"th", 0x041E},
    {"tk", 0x0442},          {"tn", 0x0432},
    {"tr", 0x041F},          {"tt", 0x0444},
    {"ug", 0x0480},          {"uk", 0x0422},
    {"ur", 0x0420},          {"uz", 0x0443},
    {"uz@cyrillic", 0x0843}, {"vi", 0x042A},
    {"wo", 0x0488},          {"xh", 0x0434},
    {"yo", 0x046A},          {"zh", 0x0804},
    {"zh_CN", 0x0804},       {"zh_HK", 0x0C04},
    {"zh_MO", 0x1404},       {"zh_SG", 0x1004},
    {"zh_TW", 0x0404},       {"zu", 0x0435},
};

bool lookUp(const std::string& name, std::uint16_t& out) {
  for (const LocaleId& entry : kLocales) {
    if (name == entry.name) {
      out = entry.id;
      return true;
    }
  }
  return false;
}

// The part of `text` from `from` up to the first of `stops` (or its end).
std::string partUntil(const std::string& text, std::size_t from, const char* stops) {
  if (from >= text.size()) return {};
  return text.substr(from, text.find_first_of(stops, from) - from);
}

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

}  // namespace

std::uint16_t languageIdOfLocale(const char* locale) {
  if (locale == nullptr) return kEnglish;
  const std::string text(locale);
  std::string language = partUntil(text, 0, "_.@");
  for (char& c : language) c = lower(c);
  if (language.empty() || language == "c" || language == "posix") return kEnglish;
  const std::size_t underscore = text.find('_');
  const std::size_t at = text.find('@');
  std::string territory = underscore < at ? partUntil(text, underscore + 1, ".@") : std::string();
  for (char& c : territory) c = upper(c);
  std::string modifier = at != std::string::npos ? text.substr(at + 1) : std::string();
  for (char& c : modifier) c = lower(c);

  const std::string withTerritory = territory.empty() ? language : language + "_" + territory;
  const std::string candidates[] = {
      modifier.empty() ? std::string() : withTerritory + "@" + modifier,
      modifier.empty() ? std::string() : language + "@" + modifier,
      withTerritory,
      language,
  };
  std::uint16_t id = kEnglish;
  for (const std::string& candidate : candidates) {
    if (!candidate.empty() && lookUp(candidate, id)) return id;
  }
  return kEnglish;
}

std::uint16_t userLanguageIdFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != 0) return languageIdOfLocale(value);
  }
  return kEnglish;
}

}  // namespace s::os::linux_impl
