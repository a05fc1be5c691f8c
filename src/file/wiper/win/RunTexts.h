#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "file/wiper/Shortfall.h"
#include "file/wiper/ntfs/TraceReport.h"
#include "file/wiper/win/DiskWiper.h"

namespace s::file::wiper::win {

// The words around a run of the drive wipe engine, shared by the window and
// the command-line tool: the questions before it and how it ended. Texts
// come from the language table through `lookup`; "*" in a question stands
// for the drive's root. Line breaks are the table's own ("\r\n"). Any
// thread; holds nothing but the lookup.
class RunTexts {
 public:
  // Entry ids.
  static constexpr std::int32_t kAskEraseAll = 1001100;
  static constexpr std::int32_t kAskSelected = 1001101;
  static constexpr std::int32_t kAskRecycleOnly = 1008102;
  static constexpr std::int32_t kErasingComplete = 1012000;
  static constexpr std::int32_t kOperationComplete = 1012001;
  static constexpr std::int32_t kSomeCanceled = 1012100;
  static constexpr std::int32_t kNotSupported = 1012200;
  static constexpr std::int32_t kDeviceUnreadable = 1012210;
  static constexpr std::int32_t kCannotWrite = 1012220;
  static constexpr std::int32_t kSomeIncomplete = 1012300;
  static constexpr std::int32_t kFirstReason = 1012400;     // Shortfall::Cancelled's text
  static constexpr std::int32_t kFirstOperation = 1008100;  // then 1008200, ... 1008500
  static constexpr std::int32_t kTracesLeft = 1012500;
  static constexpr std::int32_t kFirstTraceKind = 1012510;  // by TracesLeft::Kind
  static constexpr std::int32_t kTracesUncounted = 1012520;

  // The text of an entry id; "" when there is none.
  using Lookup = std::function<std::u16string(std::int32_t id)>;

  explicit RunTexts(Lookup lookup) : lookup_(std::move(lookup)) {}

  // The question before a run: "erase all the recoverable data" when
  // `everything` (free space, MFT, cluster tips and file names on NTFS),
  // else "execute the selected operation(s)"; the root in place of "*".
  std::u16string askToStart(bool everything, std::u16string_view root) const;
  // The extra question when the recycle bin is emptied without wiping the
  // free space afterwards.
  std::u16string askRecycleOnly() const { return lookup_(kAskRecycleOnly); }
  // Why a drive cannot be worked on: its root cannot take new files for
  // this user (administrator or root rights are needed).
  std::u16string cannotWrite(std::u16string_view root) const;
  // Why a drive is not supported: its device cannot be read by this user
  // (`deviceUnreadable`), or its file system is not one the engine knows.
  std::u16string unsupported(std::u16string_view root, bool deviceUnreadable) const;
  // How the run ended: the headline for `outcome`, then, when it fell short,
  // one line per operation that did not do its work ("  name: reason").
  // `everything` as in askToStart; `reports` are the engine's, by
  // operation.
  using Reports = std::array<s::file::wiper::OperationReport, DiskWiper::kCount>;
  std::u16string ended(DiskWiper::Outcome outcome, bool everything, const Reports& reports) const;
  // As ended, followed by `traces` (what an audit of the drive found left
  // after the run, "" for nothing) on lines of its own. A complete run that
  // left traces keeps only the headline's first line: the promise that no
  // data can be recovered any more is not made.
  std::u16string endedWithTraces(DiskWiper::Outcome outcome, bool everything,
                                 const Reports& reports, std::u16string_view traces) const;
  // The short name of operation `op` (0..4): its label up to " - ".
  std::u16string operationName(int op) const;
  // What an audit after the run found of the traces `operations` remove
  // (see ntfs::TracesLeft): a headline and one line per kind with its count,
  // a line saying they could not be counted when the audit could not read
  // the volume, or "" when it found none or the volume is no NTFS.
  std::u16string tracesLeft(const s::file::wiper::ntfs::TraceReport& report,
                            const bool operations[5]) const;
  // Why an operation fell short, in a few words ("" for Shortfall::None).
  std::u16string reason(s::file::wiper::Shortfall shortfall) const;
  // `text` with every "*" replaced by `root`.
  static std::u16string withRoot(std::u16string text, std::u16string_view root);

 private:
  Lookup lookup_;
};

}  // namespace s::file::wiper::win
