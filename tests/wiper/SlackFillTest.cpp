#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "file/wiper/ntfs/SlackFill.h"

namespace {

using s::file::wiper::ntfs::SlackFill;
using s::file::wiper::ntfs::SlackPart;

// The entries fill the room exactly when they can; otherwise they leave less
// than the smallest entry, and never ask for more than the room or for an
// entry longer than a name may make.
TEST(SlackFill, EntrySizesAddUpToTheRoom) {
  struct Case {
    std::uint32_t room;
    std::size_t smallest;
    std::size_t expectedSum;
  };
  const std::size_t largest = SlackFill::entrySize(SlackFill::kLongestName);
  for (const Case& c : std::vector<Case>{{0, 120, 0},
                                         {80, 120, 0},
                                         {4072, 120, 4072},
                                         {600, 120, 600},  // not 592 + 8: two entries
                                         {1000, 400, 1000},
                                         {700, 400, 592},  // 108 bytes hold no entry
                                         {4075, 96, 4072}}) {
    const std::vector<std::size_t> sizes = SlackFill::sizesFor(c.room, c.smallest);
    EXPECT_EQ(std::accumulate(sizes.begin(), sizes.end(), std::size_t{0}), c.expectedSum)
        << c.room << "/" << c.smallest;
    for (const std::size_t size : sizes) {
      EXPECT_GE(size, c.smallest);
      EXPECT_LE(size, largest);
      EXPECT_EQ(size % 8, 0u);
    }
  }
  EXPECT_EQ(largest, 592u);
  EXPECT_EQ(SlackFill::entrySize(3), 88u);
}

std::size_t entryBytes(const std::vector<std::u16string>& names) {
  std::size_t sum = 0;
  for (const std::u16string& n : names) sum += SlackFill::entrySize(n.size());
  return sum;
}

// Every name sorts after its anchor and before the name that follows it, so
// the part itself takes them, and their entries take its room.
TEST(SlackFill, NamesLandRightAfterTheAnchorAndFillTheRoom) {
  SlackPart part;
  part.live = {u"alpha.txt", u"Beta.doc"};
  part.next = u"gamma";
  part.room = 2000;
  const std::vector<std::u16string> names = SlackFill::namesFor(part);
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(entryBytes(names), 2000u);
  for (const std::u16string& name : names) {
    EXPECT_EQ(name.rfind(u"Beta.doc ~vonq-fill ", 0), 0u);
    EXPECT_LE(name.size(), SlackFill::kLongestName);
    EXPECT_TRUE(SlackFill::before(u"Beta.doc", name));
    EXPECT_TRUE(SlackFill::before(name, u"gamma"));
    EXPECT_TRUE(SlackFill::isFillName(name, {u"alpha.txt", u"Beta.doc"}));
    EXPECT_FALSE(SlackFill::isFillName(name, {u"alpha.txt"}));
  }
  EXPECT_EQ(std::set<std::u16string>(names.begin(), names.end()).size(), names.size());
}

// Old names that reach only part way into the room: the entries cover them
// and stop there (what lies past the last old name leaks nothing).
TEST(SlackFill, EntriesCoverAsFarAsTheOldNamesReach) {
  SlackPart part;
  part.live = {u"alpha.txt"};
  part.room = 4000;
  for (const std::uint32_t reach : {1u, 100u, 1000u, 3990u, 4000u}) {
    part.reach = reach;
    const std::size_t covered = entryBytes(SlackFill::namesFor(part));
    EXPECT_GE(covered, std::min<std::size_t>(reach, 4000 - 80)) << reach;
    EXPECT_LE(covered, 4000u) << reach;
    EXPECT_LT(covered, reach + 2 * SlackFill::entrySize(40)) << reach;
  }
}

// Which live name anchors the names, or none.
TEST(SlackFill, AnchorsOnlyWhereTheNamesCannotSortPastTheNextEntry) {
  struct Case {
    const char* what;
    std::vector<std::u16string> live;
    std::u16string next;
    bool leaf;
    std::u16string anchor;  // empty: no names
  };
  const std::u16string longName(240, u'x');
  for (const Case& c : std::vector<Case>{
           {"last name", {u"a", u"file"}, u"zeta", true, u"file"},
           {"next name extends the last", {u"a", u"file"}, u"FILE (2)", true, u"a"},
           {"each name extends the one before", {u"f", u"fi", u"fil"}, u"file", true, u""},
           {"too long to take the marker", {u"a", longName}, u"", true, u"a"},
           {"no live name", {}, u"", true, u""},
           {"part with sub-nodes", {u"a", u"b"}, u"", false, u""},
       }) {
    SlackPart part;
    part.live = c.live;
    part.next = c.next;
    part.leaf = c.leaf;
    part.room = 1000;
    const std::vector<std::u16string> names = SlackFill::namesFor(part);
    if (c.anchor.empty()) {
      EXPECT_TRUE(names.empty()) << c.what;
      continue;
    }
    ASSERT_FALSE(names.empty()) << c.what;
    EXPECT_EQ(names.front().rfind(c.anchor + u" ~vonq-fill ", 0), 0u) << c.what;
  }
}

}  // namespace
