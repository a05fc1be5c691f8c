#pragma once

#include <string>
#include <vector>

#include "os/File.h"
#include "os/TipJournal.h"
#include "os/windows/WinJournal.h"

namespace s::os::win_fs {

// The TipJournal on Windows (see WinJournal for its storage). Each line
// holds the file's volume serial number, file id, recorded and grown
// lengths, its three times, its attributes, the seed of the tip bytes and
// its path.
class WinTipJournal final : public TipJournal {
 public:
  // The per-user journal at WinJournal::defaultPath("tip-journal").
  WinTipJournal();
  explicit WinTipJournal(std::u16string path) : journal_(std::move(path)) {}

  bool usable() override;
  bool record(const TipRecord& record) override;
  bool forget(const TipRecord& record) override;
  std::size_t replay(std::vector<std::u16string>& leftAlone) override;

 private:
  enum class Outcome { Repaired, Untouched, LeftAlone, Failed };

  static WinJournal::Row rowOf(const TipRecord& record);
  static bool recordOf(const WinJournal::Row& row, TipRecord& out);
  static Outcome repair(const TipRecord& record);
  static bool holdsTipPattern(File& file, const TipRecord& record, std::uint64_t size);

  WinJournal journal_;
};

}  // namespace s::os::win_fs
