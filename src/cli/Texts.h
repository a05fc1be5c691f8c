#pragma once

#include <cstdint>
#include <string>

#include "file/wiper/Shortfall.h"

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
  // Entry ids the tool uses.
  static constexpr std::int32_t kAskEraseAll = 1001100;  // "*" stands for the drive
  static constexpr std::int32_t kAskSelected = 1001101;  // "*" stands for the drive
  static constexpr std::int32_t kAskRecycleOnly = 1008102;
  static constexpr std::int32_t kErasingComplete = 1012000;
  static constexpr std::int32_t kOperationComplete = 1012001;
  static constexpr std::int32_t kSomeCanceled = 1012100;
  static constexpr std::int32_t kNotSupported = 1012200;
  static constexpr std::int32_t kDeviceUnreadable = 1012210;  // "*" stands for the drive
  static constexpr std::int32_t kSomeIncomplete = 1012300;
  static constexpr std::int32_t kFirstReason = 1012400;     // Shortfall::Cancelled's text
  static constexpr std::int32_t kFirstOperation = 1008100;  // then 1008200, ... 1008500

  Texts();
  ~Texts();
  Texts(const Texts&) = delete;
  Texts& operator=(const Texts&) = delete;

  // The text of entry `id` as UTF-8, with its line breaks as "\n"; English
  // when the user's language has none; "" when neither has it.
  std::string get(std::int32_t id) const;

  // The short name of operation `op` (0..4): its check box label up to
  // " - " ("2. Free space on disk").
  std::string operationName(int op) const;

  // Why an operation fell short, in a few words.
  std::string reason(s::file::wiper::Shortfall shortfall) const;

  // The usage text (English: options are English words).
  static const char* usage();

  // Printed when the cluster-tip journal has no place (English).
  static const char* noTipJournal();

 private:
  s::lang::Localizer* table_ = nullptr;
};

}  // namespace s::cli
