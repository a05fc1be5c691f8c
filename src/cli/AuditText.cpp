#include "cli/AuditText.h"

#include <cinttypes>
#include <utility>

#include "cli/Console.h"
#include "file/wiper/ntfs/TracesLeft.h"

namespace s::cli {

namespace {

using s::file::wiper::ntfs::TraceReport;

std::string count(const char* what, std::uint64_t n) {
  char line[160];
  std::snprintf(line, sizeof line, "  %-52s %" PRIu64 "\n", what, n);
  return line;
}

void printNames(const char* what, const std::vector<std::u16string>& names, std::FILE* out) {
  if (names.empty()) return;
  std::fprintf(out, "%s:\n", what);
  for (const std::u16string& name : names) {
    std::fprintf(out, "    %s\n", Console::printable(name, 100).c_str());
  }
}

}  // namespace

std::string AuditText::failure(const TraceReport& report) {
  switch (report.status) {
    case TraceReport::Status::Done:
      return {};
    case TraceReport::Status::NotNtfs:
      return "the volume is not NTFS; only NTFS volumes can be audited";
    case TraceReport::Status::Unreadable:
      return "the volume's device cannot be read by this user; you may need to run as root";
    case TraceReport::Status::Damaged:
      return "the volume's master file table or bitmap cannot be read; the counts are partial";
    case TraceReport::Status::Cancelled:
      return "the audit was cancelled; the counts are partial";
  }
  return {};
}

void AuditText::print(const TraceReport& report, bool verbose, std::FILE* out) {
  std::fprintf(out, "%s\n",
               report.flushed ? "The volume's driver was asked to write its data to the device "
                                "first; the device was read as it is now."
                              : "The volume's driver could not be asked to write its data first; "
                                "what it still holds in memory was not seen.");
  const std::string why = failure(report);
  if (!why.empty()) std::fprintf(out, "vonq-scrub: %s.\n", why.c_str());
  if (report.status != TraceReport::Status::Done && report.recordsRead == 0) return;
  const std::pair<const char*, std::uint64_t> counts[] = {
      {"MFT records read", report.recordsRead},
      {"free MFT records still holding a file name", report.freeRecordsWithName},
      {"free MFT records still holding resident data", report.freeRecordsWithData},
      {"folders whose index was read", report.foldersRead},
      {"folders whose index could not be followed", report.foldersNotRead},
      {"old names in the slack of live folder indexes", report.slackNames},
      {"  and names of the scrubber's own temporary entries", report.ownSlackNames},
      {"free clusters read", report.freeClustersRead},
      {"index blocks in free clusters", report.freeIndexBlocks},
      {"names in index blocks in free clusters", report.freeIndexBlockNames}};
  std::string text = "Traces found:\n";
  for (const auto& [what, n] : counts) text += count(what, n);
  std::fputs(text.c_str(), out);
  if (!verbose) return;
  printNames("Names in free MFT records", report.freeRecordNameList, out);
  printNames("Old names in index slack", report.slackNameList, out);
  printNames("Names in index blocks in free clusters", report.freeIndexBlockNameList, out);
}

std::string AuditText::leftAfterRun(const TraceReport& report, const bool operations[5]) {
  using s::file::wiper::ntfs::TracesLeft;
  if (report.status != TraceReport::Status::Done) {
    return "The traces left could not be counted: " + failure(report) + ".";
  }
  static constexpr const char* kLabels[] = {"free MFT records still holding a file name",
                                            "free MFT records still holding resident data",
                                            "old names in the slack of live folder indexes"};
  std::string text;
  for (const TracesLeft::Item& item : TracesLeft::of(report, operations)) {
    text += text.empty() ? "Traces left (vonq-scrub --audit lists them):\n" : "\n";
    text += count(kLabels[static_cast<int>(item.kind)], item.count);
    text.pop_back();
  }
  return text;
}

}  // namespace s::cli
