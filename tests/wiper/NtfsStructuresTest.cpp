// The NTFS record and index-block parsers of the trace audit on crafted
// bytes: well-formed structures give their names; torn, truncated and
// lying ones are refused or cut short, never read past their end.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "file/wiper/ntfs/FileRecord.h"
#include "file/wiper/ntfs/IndexBlock.h"
#include "file/wiper/ntfs/RunList.h"

namespace vonq::wiper_test {
namespace {

using s::file::wiper::ntfs::Attribute;
using s::file::wiper::ntfs::ByteSpan;
using s::file::wiper::ntfs::FileName;
using s::file::wiper::ntfs::FileRecord;
using s::file::wiper::ntfs::IndexBlock;
using s::file::wiper::ntfs::RunList;

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b.at(at) = v & 0xFF;
  b.at(at + 1) = (v >> 8) & 0xFF;
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}

// A $FILE_NAME value naming `name` in folder record 5.
Bytes fileNameValue(const std::u16string& name) {
  Bytes v(FileName::kNameOffset + 2 * name.size(), 0);
  v[0] = 5;  // the root folder
  for (std::size_t time = 0x08; time < 0x28; time += 8) {
    put32(v, time, 0xCB3A8F30);  // December 2026
    put32(v, time + 4, 0x01DD8961);
  }
  v[0x40] = static_cast<std::uint8_t>(name.size());
  v[0x41] = 1;  // Win32 namespace
  for (std::size_t i = 0; i < name.size(); ++i) put16(v, FileName::kNameOffset + 2 * i, name[i]);
  return v;
}

std::size_t align8(std::size_t n) {
  return (n + 7) / 8 * 8;
}

// A resident attribute record of `type` holding `value`.
Bytes residentAttribute(std::uint32_t type, const Bytes& value) {
  Bytes a(align8(0x18 + value.size()), 0);
  put32(a, 0, type);
  put32(a, 4, static_cast<std::uint32_t>(a.size()));
  put32(a, 0x10, static_cast<std::uint32_t>(value.size()));
  put16(a, 0x14, 0x18);
  std::copy(value.begin(), value.end(), a.begin() + 0x18);
  return a;
}

// Writes the update sequence as a driver does: each stride's last two bytes
// go into the array, the check value takes their place.
void protect(Bytes& b, std::size_t arrayOffset) {
  const std::size_t strides = b.size() / 512;
  put16(b, 4, static_cast<std::uint32_t>(arrayOffset));
  put16(b, 6, static_cast<std::uint32_t>(strides + 1));
  put16(b, arrayOffset, 0x0042);
  for (std::size_t i = 1; i <= strides; ++i) {
    b[arrayOffset + 2 * i] = b[i * 512 - 2];
    b[arrayOffset + 2 * i + 1] = b[i * 512 - 1];
    put16(b, i * 512 - 2, 0x0042);
  }
}

// A free FILE record of 1024 bytes holding the name "secret.txt" and five
// bytes of resident data; after its end marker, a whole $FILE_NAME
// attribute of an earlier name ("older.doc") that the driver moved away.
struct CraftedRecord {
  static constexpr std::size_t kFirst = 0x38;
  Bytes bytes = Bytes(1024, 0);
  std::size_t nameAt = kFirst;
  std::size_t dataAt = 0;

  CraftedRecord() {
    std::copy_n("FILE", 4, bytes.begin());
    put16(bytes, 0x14, kFirst);
    put16(bytes, 0x16, 0);  // not in use
    const Bytes name = residentAttribute(Attribute::kFileName, fileNameValue(u"secret.txt"));
    const Bytes data = residentAttribute(Attribute::kData, Bytes{'h', 'e', 'l', 'l', 'o'});
    std::copy(name.begin(), name.end(), bytes.begin() + nameAt);
    dataAt = nameAt + name.size();
    std::copy(data.begin(), data.end(), bytes.begin() + dataAt);
    const std::size_t end = dataAt + data.size();
    put32(bytes, end, Attribute::kEnd);
    put32(bytes, 0x18, static_cast<std::uint32_t>(end + 8));
    const Bytes old = residentAttribute(Attribute::kFileName, fileNameValue(u"older.doc"));
    std::copy(old.begin(), old.end(), bytes.begin() + 0x200 + 0x40);
    bytes[0x1FE] = 0x11;  // bytes the update sequence must put back
    bytes[0x3FF] = 0x22;
  }
};

std::vector<std::u16string> namesOf(const std::vector<FileName>& names) {
  std::vector<std::u16string> out;
  for (const FileName& n : names) out.push_back(n.name);
  return out;
}

TEST(NtfsFileRecord, CraftedRecordsGiveTheirNamesOrAreRefused) {
  using Names = std::vector<std::u16string>;
  struct Case {
    const char* what;
    std::function<void(CraftedRecord&)> craft;  // before the update sequence
    std::function<void(Bytes&)> tear;           // after it
    bool fixesUp;
    Names names;
    bool residentData;
  };
  const auto none = [](auto&) {};
  const Case cases[] = {
      {"well formed", none, none, true, {u"secret.txt", u"older.doc"}, true},
      {"truncated", none, [](Bytes& b) { b.resize(700); }, false, {}, false},
      {"bad fix-up", none, [](Bytes& b) { b[0x3FE] ^= 1; }, false, {}, false},
      {"array outside the first stride",
       none,
       [](Bytes& b) { put16(b, 4, 0x1FC); },
       false,
       {},
       false},
      {"one stride too few in the array", none, [](Bytes& b) { put16(b, 6, 2); }, false, {}, false},
      {"not a FILE record", none, [](Bytes& b) { b[0] = 'B'; }, false, {}, false},
      // The walk stops at a broken attribute; what stands whole after it
      // is still found, as a raw read of the record would.
      {"attribute length past the end",
       [](CraftedRecord& r) { put32(r.bytes, r.nameAt + 4, 0x1000); },
       none,
       true,
       {u"older.doc"},
       true},
      {"attribute length 0",
       [](CraftedRecord& r) { put32(r.bytes, r.nameAt + 4, 0); },
       none,
       true,
       {u"older.doc"},
       true},
      {"name length past the end of the value",
       [](CraftedRecord& r) { r.bytes[r.nameAt + 0x18 + 0x40] = 200; },
       none,
       true,
       {u"older.doc"},
       true},
      {"value length past the attribute",
       [](CraftedRecord& r) { put32(r.bytes, r.dataAt + 0x10, 0x400); },
       none,
       true,
       {u"secret.txt", u"older.doc"},
       false},
      {"used size past the record",
       [](CraftedRecord& r) { put32(r.bytes, 0x18, 0xFFFFFFF0); },
       none,
       true,
       {u"secret.txt", u"older.doc"},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CraftedRecord crafted;
    c.craft(crafted);
    Bytes bytes = crafted.bytes;
    protect(bytes, 0x30);
    c.tear(bytes);
    // Exactly the record's size on the heap: a read past it is caught by
    // the address sanitizer.
    ASSERT_EQ(FileRecord::fixUp(bytes.data(), bytes.size()), c.fixesUp);
    if (!c.fixesUp) continue;
    EXPECT_EQ(bytes[0x1FE], 0x11);
    EXPECT_EQ(bytes[0x3FF], 0x22);
    const FileRecord record(ByteSpan(bytes.data(), bytes.size()));
    EXPECT_FALSE(record.inUse());
    EXPECT_EQ(namesOf(record.names()), c.names);
    EXPECT_EQ(record.holdsResidentData(), c.residentData);
  }
}

// An INDX block of 4096 bytes with live entries "alpha.txt" and
// "beta.txt", the last-entry mark, and in the slack after them the entry
// of a deleted "gone-secret.txt".
struct CraftedBlock {
  static constexpr std::size_t kHeader = 0x18;
  static constexpr std::size_t kFirst = 0x40;
  Bytes bytes = Bytes(4096, 0);
  std::vector<std::size_t> entries;

  static Bytes entry(const std::u16string& name) {
    const Bytes key = fileNameValue(name);
    Bytes e(align8(0x10 + key.size()), 0);
    put16(e, 8, static_cast<std::uint32_t>(e.size()));
    put16(e, 0x0A, static_cast<std::uint32_t>(key.size()));
    std::copy(key.begin(), key.end(), e.begin() + 0x10);
    return e;
  }

  std::size_t place(const Bytes& e, std::size_t at) {
    std::copy(e.begin(), e.end(), bytes.begin() + at);
    entries.push_back(at);
    return at + e.size();
  }

  CraftedBlock() {
    std::copy_n("INDX", 4, bytes.begin());
    std::size_t at = place(entry(u"alpha.txt"), kFirst);
    at = place(entry(u"beta.txt"), at);
    put16(bytes, at + 8, 0x10);
    put16(bytes, at + 0x0C, 2);  // the last entry
    const std::size_t used = at + 0x10;
    place(entry(u"gone-secret.txt"), used + 0x18);
    put32(bytes, kHeader, kFirst - kHeader);
    put32(bytes, kHeader + 4, static_cast<std::uint32_t>(used - kHeader));
    put32(bytes, kHeader + 8, static_cast<std::uint32_t>(bytes.size() - kHeader));
  }
};

TEST(NtfsIndexBlock, CraftedBlocksGiveLiveAndOldNamesOrAreRefused) {
  using Names = std::vector<std::u16string>;
  struct Case {
    const char* what;
    std::function<void(CraftedBlock&)> craft;  // before the update sequence
    std::function<void(Bytes&)> tear;          // after it
    bool fixesUp;
    Names live;
    Names slack;
  };
  const auto none = [](auto&) {};
  const Case cases[] = {
      {"well formed", none, none, true, {u"alpha.txt", u"beta.txt"}, {u"gone-secret.txt"}},
      {"truncated", none, [](Bytes& b) { b.resize(1000); }, false, {}, {}},
      {"bad fix-up", none, [](Bytes& b) { b[2 * 512 - 1] ^= 1; }, false, {}, {}},
      {"a FILE record, not an index block",
       none,
       [](Bytes& b) { std::copy_n("FILE", 4, b.begin()); },
       false,
       {},
       {}},
      {"entry length 0",
       [](CraftedBlock& b) { put16(b.bytes, b.entries[1] + 8, 0); },
       none,
       true,
       {u"alpha.txt"},
       {u"gone-secret.txt"}},
      {"entry length past the used part",
       [](CraftedBlock& b) { put16(b.bytes, b.entries[1] + 8, 0x800); },
       none,
       true,
       {u"alpha.txt"},
       {u"gone-secret.txt"}},
      {"name length past the end of the key",
       [](CraftedBlock& b) { b.bytes[b.entries[2] + 0x10 + 0x40] = 100; },
       none,
       true,
       {u"alpha.txt", u"beta.txt"},
       {}},
      {"key length past the entry",
       [](CraftedBlock& b) { put16(b.bytes, b.entries[0] + 0x0A, 0x400); },
       none,
       true,
       {},
       {u"gone-secret.txt"}},
      {"old entry's header overwritten: its key alone still gives the name",
       [](CraftedBlock& b) { std::fill_n(b.bytes.begin() + b.entries[2], 0x10, 0); },
       none,
       true,
       {u"alpha.txt", u"beta.txt"},
       {u"gone-secret.txt"}},
      {"old entry's header and folder reference overwritten",
       [](CraftedBlock& b) { std::fill_n(b.bytes.begin() + b.entries[2], 0x18, 0xFF); },
       none,
       true,
       {u"alpha.txt", u"beta.txt"},
       {u"gone-secret.txt"}},
      {"a lone key without plausible times is no name",
       [](CraftedBlock& b) {
         std::fill_n(b.bytes.begin() + b.entries[2], 0x10, 0);
         b.bytes[b.entries[2] + 0x10 + 0x0F] = 0x7F;  // creation time far past 2200
       },
       none,
       true,
       {u"alpha.txt", u"beta.txt"},
       {}},
      {"used length past the allocated one",
       [](CraftedBlock& b) { put32(b.bytes, CraftedBlock::kHeader + 4, 0x7FFFFFFF); },
       none,
       true,
       {},
       {}},
      {"allocated length past the block",
       [](CraftedBlock& b) { put32(b.bytes, CraftedBlock::kHeader + 8, 0x7FFFFFFF); },
       none,
       true,
       {u"alpha.txt", u"beta.txt"},
       {u"gone-secret.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CraftedBlock crafted;
    c.craft(crafted);
    Bytes bytes = crafted.bytes;
    protect(bytes, 0x28);
    c.tear(bytes);
    ASSERT_EQ(IndexBlock::fixUp(bytes.data(), bytes.size()), c.fixesUp);
    if (!c.fixesUp) continue;
    const IndexBlock block(ByteSpan(bytes.data(), bytes.size()));
    EXPECT_EQ(namesOf(block.liveNames()), c.live);
    EXPECT_EQ(namesOf(block.slackNames()), c.slack);
  }
}

TEST(NtfsRunList, DecodesRunsAndRefusesThoseOutsideTheVolume) {
  using Extent = RunList::Extent;
  struct Case {
    const char* what;
    Bytes runs;
    bool ok;
    std::vector<Extent> extents;
  };
  const Case cases[] = {
      // 0x10 clusters at 0x20, then 8 sparse, then 4 at 0x20 - 0x10.
      {"stored, sparse, backwards",
       {0x11, 0x10, 0x20, 0x01, 0x08, 0x11, 0x04, 0xF0, 0x00},
       true,
       {{0x20, 0x10, false}, {0, 8, true}, {0x10, 4, false}}},
      {"a run before the volume's start", {0x11, 0x04, 0x80, 0x00}, false, {}},
      {"a run past the volume's end", {0x21, 0x10, 0xF8, 0x03, 0x00}, false, {}},
      {"a header asking for more bytes than there are", {0x44, 0x01, 0x02}, false, {}},
      {"a run of no clusters", {0x11, 0x00, 0x10, 0x00}, false, {}},
      {"no end marker: ends with the bytes", {0x11, 0x01, 0x02}, true, {{2, 1, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Extent> out;
    ASSERT_EQ(RunList::decode(ByteSpan(c.runs.data(), c.runs.size()), 1000, out), c.ok);
    if (!c.ok) continue;
    ASSERT_EQ(out.size(), c.extents.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
      EXPECT_EQ(out[i].sparse, c.extents[i].sparse) << i;
      EXPECT_EQ(out[i].clusters, c.extents[i].clusters) << i;
      if (!out[i].sparse) {
        EXPECT_EQ(out[i].lcn, c.extents[i].lcn) << i;
      }
    }
  }
}

}  // namespace
}  // namespace vonq::wiper_test
