#include "file/wiper/win/RunTexts.h"

#include <algorithm>

#include "file/wiper/ntfs/TracesLeft.h"

namespace s::file::wiper::win {

std::u16string RunTexts::withRoot(std::u16string text, std::u16string_view root) {
  for (std::size_t at = text.find(u'*'); at != std::u16string::npos;
       at = text.find(u'*', at + root.size())) {
    text.replace(at, 1, root);
  }
  return text;
}

std::u16string RunTexts::askToStart(bool everything, std::u16string_view root) const {
  return withRoot(lookup_(everything ? kAskEraseAll : kAskSelected), root);
}

std::u16string RunTexts::cannotWrite(std::u16string_view root) const {
  return withRoot(lookup_(kCannotWrite), root);
}

std::u16string RunTexts::unsupported(std::u16string_view root, bool deviceUnreadable) const {
  return deviceUnreadable ? withRoot(lookup_(kDeviceUnreadable), root) : lookup_(kNotSupported);
}

std::u16string RunTexts::ended(DiskWiper::Outcome outcome, bool everything,
                               const Reports& reports) const {
  using Outcome = DiskWiper::Outcome;
  switch (outcome) {
    case Outcome::Complete:
      return lookup_(everything ? kErasingComplete : kOperationComplete);
    case Outcome::Unsupported:
      return lookup_(kNotSupported);
    case Outcome::Cancelled:
    case Outcome::Incomplete:
      break;
  }
  std::u16string text = lookup_(outcome == Outcome::Cancelled ? kSomeCanceled : kSomeIncomplete);
  for (int op = 0; op < DiskWiper::kCount; ++op) {
    const s::file::wiper::OperationReport& report = reports[static_cast<std::size_t>(op)];
    if (report.done()) continue;
    text += u"\r\n  " + operationName(op) + u": " + reason(report.shortfall);
  }
  return text;
}

std::u16string RunTexts::endedWithTraces(DiskWiper::Outcome outcome, bool everything,
                                         const Reports& reports, std::u16string_view traces) const {
  std::u16string text = ended(outcome, everything, reports);
  if (traces.empty()) return text;
  if (outcome == DiskWiper::Outcome::Complete)
    text.erase(std::min(text.find(u"\r\n"), text.size()));
  return text + u"\r\n" + std::u16string(traces);
}

std::u16string RunTexts::tracesLeft(const s::file::wiper::ntfs::TraceReport& report,
                                    const bool operations[5]) const {
  using s::file::wiper::ntfs::TracesLeft;
  using Status = s::file::wiper::ntfs::TraceReport::Status;
  if (report.status == Status::NotNtfs) return {};
  if (!report.done()) return lookup_(kTracesUncounted);
  std::u16string text;
  for (const TracesLeft::Item& item : TracesLeft::of(report, operations)) {
    if (text.empty()) text = lookup_(kTracesLeft);
    const std::string number = std::to_string(item.count);
    text += u"\r\n" + withRoot(lookup_(kFirstTraceKind + static_cast<int>(item.kind)),
                               std::u16string(number.begin(), number.end()));
  }
  return text;
}

std::u16string RunTexts::operationName(int op) const {
  std::u16string label = lookup_(kFirstOperation + op * 100);
  const std::size_t cut = label.find(u" - ");
  if (cut != std::u16string::npos) label.erase(cut);
  return label;
}

std::u16string RunTexts::reason(s::file::wiper::Shortfall shortfall) const {
  const int index =
      static_cast<int>(shortfall) - static_cast<int>(s::file::wiper::Shortfall::Cancelled);
  return index < 0 ? std::u16string() : lookup_(kFirstReason + index);
}

}  // namespace s::file::wiper::win
