#include "file/wiper/ntfs/TracesLeft.h"

namespace s::file::wiper::ntfs {

std::vector<TracesLeft::Item> TracesLeft::of(const TraceReport& report, const bool operations[5]) {
  std::vector<Item> items;
  if (!report.done()) return items;
  const bool records = operations[2] || operations[4];
  const std::pair<bool, Item> kinds[] = {
      {records, {Kind::NamesInFreeRecords, report.freeRecordsWithName}},
      {records, {Kind::DataInFreeRecords, report.freeRecordsWithData}},
      {operations[4], {Kind::NamesInIndexSlack, report.slackNames}}};
  for (const auto& [asked, item] : kinds) {
    if (asked && item.count > 0) items.push_back(item);
  }
  return items;
}

}  // namespace s::file::wiper::ntfs
