#include "os/linux/LocaleLanguage.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <string>

#include "os/System.h"

namespace {

using s::os::linux_impl::languageIdOfLocale;

TEST(LocaleLanguage, MapsLocaleNamesToWindowsLanguageIds) {
  const struct {
    const char* locale;
    std::uint16_t id;
  } cases[] = {
      {"de_DE.UTF-8", 0x0407}, {"de_AT.UTF-8", 0x0C07},
      {"de", 0x0407},          {"de_XX", 0x0407},
      {"pt_BR", 0x0416},       {"pt_PT.UTF-8", 0x0816},
      {"pt", 0x0816},          {"zh_CN.GB18030", 0x0804},
      {"zh_TW.UTF-8", 0x0404}, {"zh_HK", 0x0C04},
      {"sr_RS@latin", 0x241A}, {"sr_RS.UTF-8@latin", 0x241A},
      {"sr_RS", 0x281A},       {"sr@latin", 0x241A},
      {"nb_NO.UTF-8", 0x0414}, {"nn_NO", 0x0814},
      {"fa_IR", 0x0429},       {"en_GB.UTF-8", 0x0809},
      {"C", 0x0409},           {"POSIX", 0x0409},
      {"C.UTF-8", 0x0409},     {"", 0x0409},
      {nullptr, 0x0409},       {"xx_YY", 0x0409},
      {"DE_de", 0x0407},       {"_", 0x0409},
      {"@", 0x0409},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale != nullptr ? c.locale : "(null)");
    EXPECT_EQ(languageIdOfLocale(c.locale), c.id);
  }
}

// Sets or clears the three locale variables for one scope.
class LocaleEnvironment {
 public:
  LocaleEnvironment(const char* all, const char* messages, const char* lang) {
    for (int i = 0; i < 3; ++i) {
      const char* old = getenv(kNames[i]);
      had_[i] = old != nullptr;
      if (had_[i]) old_[i] = old;
    }
    put(0, all);
    put(1, messages);
    put(2, lang);
  }
  ~LocaleEnvironment() {
    for (int i = 0; i < 3; ++i) put(i, had_[i] ? old_[i].c_str() : nullptr);
  }

 private:
  static void put(int i, const char* value) {
    if (value != nullptr) {
      setenv(kNames[i], value, 1);
    } else {
      unsetenv(kNames[i]);
    }
  }
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  bool had_[3] = {};
  std::string old_[3];
};

TEST(LocaleLanguage, TheFirstSetVariableDecides) {
  const struct {
    const char* all;
    const char* messages;
    const char* lang;
    std::uint16_t id;
  } cases[] = {
      {"fr_FR.UTF-8", "de_DE", "it_IT", 0x040C}, {"", "de_DE", "it_IT", 0x0407},
      {nullptr, nullptr, "it_IT.UTF-8", 0x0410}, {nullptr, nullptr, nullptr, 0x0409},
      {"C", "de_DE", nullptr, 0x0409},
  };
  for (const auto& c : cases) {
    LocaleEnvironment environment(c.all, c.messages, c.lang);
    EXPECT_EQ(s::os::platformSystem().userLanguageId(), c.id);
  }
}

}  // namespace
