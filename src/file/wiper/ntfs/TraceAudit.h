#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "file/wiper/ntfs/FileName.h"
#include "file/wiper/ntfs/FileRecord.h"
#include "file/wiper/ntfs/FolderSlack.h"
#include "file/wiper/ntfs/IndexBlock.h"
#include "file/wiper/ntfs/RunList.h"
#include "file/wiper/ntfs/TraceReport.h"
#include "file/wiper/ntfs/VolumeReader.h"
#include "os/NtfsVolumeData.h"

namespace s::file::wiper::ntfs {

// A read-only look at what an NTFS volume still holds of deleted files:
// names and resident data in free MFT records, old names in the slack of
// live folders' index blocks, and index blocks in free clusters. It reads
// the volume's device or image through the platform layer and never writes
// anything. Used by one thread at a time.
class TraceAudit {
 public:
  static constexpr std::size_t kNamesKept = 20;

  // `namesKept`: how many names of each kind the report lists. `stop`
  // (may be null) ends the audit early once it turns true. Without
  // `readFreeClusters` the free clusters are not read (their counts stay
  // 0): the audit then reads only the MFT and the folders' index blocks.
  explicit TraceAudit(std::size_t namesKept = kNamesKept, const std::atomic<bool>* stop = nullptr,
                      bool readFreeClusters = true)
      : namesKept_(namesKept), stop_(stop), readFreeClusters_(readFreeClusters) {}

  // Asks the volume's driver to flush (the report says whether it did),
  // then reads the volume whose root is `root` and counts what it finds.
  // The status says when it could not be read; the counts then stay 0.
  // Reads every free cluster once (unless told not to), so it takes about
  // as long as reading the free space. Calling thread.
  TraceReport run(std::u16string_view root);

  // From the next run on, also lists in `out` (not owned; cleared by the
  // run) every folder whose index has a part whose slack holds old names.
  // Null stops that.
  void collectFolders(std::vector<FolderSlack>* out) { folders_ = out; }

  // The file ids of temporary files and folders a run of the engine
  // removed (see OperationReport::ownEntries): their free records, and
  // those of entries that were in one of the folders, hold the engine's own
  // names and are not counted.
  void ignoreEntries(const std::vector<std::uint64_t>& fileIds);

 private:
  bool stopped() const { return stop_ != nullptr && stop_->load(); }
  // Everything after the volume was opened: the MFT, then the free clusters.
  void readVolume(const s::os::NtfsVolumeData& volume, TraceReport& report);
  // The extents and initialised size of an unnamed non-resident $DATA.
  bool dataOf(const FileRecord& record, std::vector<RunList::Extent>& extents,
              std::uint64_t& size) const;
  // The value of an attribute, resident or not, up to `limit` bytes.
  bool valueOf(const Attribute& attribute, std::size_t limit, std::vector<std::uint8_t>& out);
  bool readRecord(std::uint64_t number, std::vector<std::uint8_t>& bytes);
  void walkMft(TraceReport& report);
  void lookAtRecord(std::uint64_t number, std::uint8_t* bytes, TraceReport& report);
  // A free record's shown name (null when none) and whether it holds
  // resident data.
  void lookAtFreeRecord(const FileName* shown, bool data, TraceReport& report);
  // Counts the free records with a name that were not the engine's own:
  // named as the engine names its entries, or in a folder it made.
  void countFreeRecords(TraceReport& report);
  static bool isOwnName(const std::u16string& name);
  // The names of one folder's index: those of live entries, and those
  // still standing in slack.
  struct FolderNames {
    std::set<std::u16string> live;
    std::set<std::u16string> slack;
    // Each part read, with the names in its own slack.
    std::vector<std::pair<SlackPart, std::vector<IndexBlock::LeftOver>>> parts;
    void addPart(SlackPart part, const std::vector<FileName>& liveNames,
                 std::vector<IndexBlock::LeftOver> slackNames);
  };
  void lookAtFolder(std::uint64_t number, const FileRecord& record, TraceReport& report);
  // The entry list of a folder's $INDEX_ROOT value; empty when damaged.
  static ByteSpan entriesOfRoot(const Attribute& root);
  // Reads the folder's live index blocks; false when its index cannot be
  // followed (a damaged size, run list or bitmap).
  bool readBlocks(const FileRecord& record, const Attribute& root, const Attribute& blocks,
                  FolderNames& names, TraceReport& report);
  void countOldNames(const FolderNames& names, TraceReport& report) const;
  // Whether `name`, found in a folder's slack, is a trace of a user's entry:
  // neither live in the folder nor one of the engine's own names.
  static bool isOldName(const std::u16string& name, const FolderNames& names);
  void listFolder(std::uint64_t record, FolderNames& names) const;
  // The volume's cluster bitmap ($Bitmap, record 6), one bit a cluster.
  bool readVolumeBitmap(std::vector<std::uint8_t>& bits);
  void scanFreeClusters(TraceReport& report);
  void lookAtFreeChunk(const std::uint8_t* chunk, std::size_t size, TraceReport& report);
  void keep(std::vector<std::u16string>& list, const std::u16string& name) const;

  std::size_t namesKept_;
  const std::atomic<bool>* stop_;
  bool readFreeClusters_;
  VolumeReader* reader_ = nullptr;
  std::uint32_t recordSize_ = 0;
  std::uint32_t indexBlockSize_ = 4096;
  std::vector<RunList::Extent> mft_;
  std::uint64_t mftBytes_ = 0;
  std::vector<FolderSlack>* folders_ = nullptr;
  // Free records with a name, in MFT order, until the walk ends.
  struct FreeRecord {
    std::uint64_t parent;  // reference of the folder it was in
    std::u16string name;
    bool data;
  };
  std::vector<FreeRecord> freeNamed_;
  // Records named as the engine names its entries, or of folders it made:
  // number -> sequence number.
  std::map<std::uint64_t, std::uint16_t> ownRecords_;
  std::set<std::uint64_t> engineEntries_;  // record numbers from ignoreEntries
};

}  // namespace s::file::wiper::ntfs
