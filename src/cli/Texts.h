#pragma once

#include <cstdint>
#include <string>

#include "file/wiper/win/RunTexts.h"

namespace s::lang {
class Localizer;
}

namespace s::cli {

// The texts of the command-line tool: the program's language table in the
// user's language (LC_ALL / LC_MESSAGES / LANG), English where that
// language has no text. The texts the window also shows are the same
// entries. Main thread only.
class Texts {
 public:
  Texts();
  ~Texts();
  Texts(const Texts&) = delete;
  Texts& operator=(const Texts&) = delete;

  // The run's questions and end messages in the user's language (English
  // where it has no text).
  const s::file::wiper::win::RunTexts& run() const { return run_; }

  // `text` as UTF-8 for the terminal, with its line breaks as "\n".
  static std::string shown(const std::u16string& text);

  // The usage text (English: options are English words).
  static const char* usage();

  // Printed when the cluster-tip journal has no place (English).
  static const char* noTipJournal();

 private:
  // The text of entry `id`; English when the user's language has none; ""
  // when neither has it.
  std::u16string text(std::int32_t id) const;

  s::lang::Localizer* table_ = nullptr;
  s::file::wiper::win::RunTexts run_;
};

}  // namespace s::cli
