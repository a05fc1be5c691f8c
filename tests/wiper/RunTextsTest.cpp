#include "file/wiper/win/RunTexts.h"

#include <gtest/gtest.h>

#include <string>

#include "lang/Localizer.h"

namespace {

using s::file::wiper::Shortfall;
using s::file::wiper::win::DiskWiper;
using s::file::wiper::win::RunTexts;

std::string ascii(const std::u16string& text) {
  return std::string(text.begin(), text.end());
}

// The shipped table in English.
class RunTextsTest : public ::testing::Test {
 protected:
  RunTextsTest() : table_(s::lang::Localizer::createFromResource()) {
    table_->selectLanguage(u"English");
  }
  ~RunTextsTest() override { table_->release(); }

  RunTexts texts() {
    return RunTexts([this](std::int32_t id) { return std::u16string(table_->text(id)); });
  }

  s::lang::Localizer* table_;
};

TEST_F(RunTextsTest, QuestionsPutTheRootBetweenTheBrackets) {
  const RunTexts run = texts();
  EXPECT_EQ(
      ascii(run.askToStart(true, u"/media/usb/")),
      "Are you sure you want to erase all the recoverable data from the drive [ /media/usb/ ] ?");
  EXPECT_EQ(ascii(run.askToStart(false, u"C:\\")),
            "Are you sure you want to execute the selected operation(s) on the drive [ C:\\ ] ?");
  // A root holding the placeholder itself is put in once, not expanded again.
  EXPECT_EQ(RunTexts::withRoot(u"[ * ] and *", u"/a*b/"), u"[ /a*b/ ] and /a*b/");
  EXPECT_NE(ascii(run.cannotWrite(u"/mnt/sys/")).find("[ /mnt/sys/ ]"), std::string::npos);
  EXPECT_NE(ascii(run.cannotWrite(u"/mnt/sys/")).find("administrator (root)"), std::string::npos);
}

TEST_F(RunTextsTest, EndMessageFollowsTheOutcomeAndNamesEveryShortfall) {
  const RunTexts run = texts();
  RunTexts::Reports reports{};
  EXPECT_EQ(ascii(run.ended(DiskWiper::Outcome::Complete, true, reports)),
            "Erasing Complete!\r\nNo data can be recovered any more.");
  EXPECT_EQ(ascii(run.ended(DiskWiper::Outcome::Complete, false, reports)), "Operation Complete!");

  reports[1].asked = true;
  reports[1].shortfall = Shortfall::VolumeFull;
  reports[3].asked = true;
  reports[3].shortfall = Shortfall::Cancelled;
  reports[4].shortfall = Shortfall::NotNtfs;  // not asked for: not listed
  EXPECT_EQ(ascii(run.ended(DiskWiper::Outcome::Incomplete, true, reports)),
            "Some operation could not do all its work:\r\n"
            "  2. Free space on disk: the drive had no free space to work with\r\n"
            "  4. Cluster tips: canceled");
  const std::string cancelled = ascii(run.ended(DiskWiper::Outcome::Cancelled, true, reports));
  EXPECT_EQ(cancelled.rfind("Some operation has been canceled.", 0), 0u) << cancelled;
  EXPECT_EQ(ascii(run.ended(DiskWiper::Outcome::Unsupported, true, reports)),
            "This drive type is curretly not supported.");
}

TEST_F(RunTextsTest, UnsupportedDriveSaysWhyWhenItsDeviceCannotBeRead) {
  const RunTexts run = texts();
  EXPECT_EQ(ascii(run.unsupported(u"/x/", false)), "This drive type is curretly not supported.");
  EXPECT_NE(ascii(run.unsupported(u"/x/", true)).find("[ /x/ ]"), std::string::npos);
  EXPECT_EQ(ascii(run.operationName(4)), "5. [Optional]  File name traces");
  EXPECT_EQ(ascii(run.reason(Shortfall::None)), "");
}

// A complete run that left traces keeps "Erasing Complete!" but never says
// that no data can be recovered; one that left none says it as before.
TEST_F(RunTextsTest, TracesLeftTakeThePlaceOfTheNoRecoveryPromise) {
  const RunTexts run = texts();
  RunTexts::Reports reports{};
  const std::u16string traces = u"Traces left:\n  names 3";
  struct Case {
    DiskWiper::Outcome outcome;
    bool everything;
    std::u16string traces;
    std::string expected;
  };
  const Case cases[] = {
      {DiskWiper::Outcome::Complete, true, u"",
       "Erasing Complete!\r\nNo data can be recovered any more."},
      {DiskWiper::Outcome::Complete, true, traces, "Erasing Complete!\r\nTraces left:\n  names 3"},
      {DiskWiper::Outcome::Complete, false, traces,
       "Operation Complete!\r\nTraces left:\n  names 3"},
      {DiskWiper::Outcome::Cancelled, true, traces,
       "Some operation has been canceled.\r\nTraces left:\n  names 3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ascii(run.endedWithTraces(c.outcome, c.everything, reports, c.traces)), c.expected);
  }
}

// What an audit after the run found, as the window shows it: only the kinds
// the run was asked to remove, only when found; nothing for a drive that is
// no NTFS; a plain line when the drive could not be read.
TEST_F(RunTextsTest, TracesLeftListOnlyTheKindsTheRunRemoves) {
  using s::file::wiper::ntfs::TraceReport;
  const RunTexts run = texts();
  TraceReport found;
  found.status = TraceReport::Status::Done;
  found.freeRecordsWithName = 2;
  found.slackNames = 7;
  TraceReport clean;
  clean.status = TraceReport::Status::Done;
  TraceReport notNtfs;
  notNtfs.status = TraceReport::Status::NotNtfs;
  TraceReport unreadable;
  unreadable.status = TraceReport::Status::Unreadable;
  const bool all[5] = {true, true, true, true, true};
  const bool mftOnly[5] = {false, false, true, false, false};
  const bool freeSpaceOnly[5] = {false, true, false, false, false};
  struct Case {
    const TraceReport& report;
    const bool* operations;
    std::string expected;
  };
  const Case cases[] = {
      {found, all,
       "Traces still found on the drive after the run:\r\n"
       "free MFT records still holding a file name: 2\r\n"
       "old names in the index slack of folders: 7"},
      {found, mftOnly,
       "Traces still found on the drive after the run:\r\n"
       "free MFT records still holding a file name: 2"},
      {found, freeSpaceOnly, ""},
      {clean, all, ""},
      {notNtfs, all, ""},
      {unreadable, all,
       "The traces left could not be counted: the drive could not be read after the run."},
  };
  for (const Case& c : cases) EXPECT_EQ(ascii(run.tracesLeft(c.report, c.operations)), c.expected);
}

}  // namespace
