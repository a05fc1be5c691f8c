// The disk eraser window with its controller, on drives the test chooses:
// the fifth operation box follows the drive, ticks and the last drive are
// stored and come back, Erase asks with the drive between the brackets and
// refuses a drive that cannot be written. Message boxes are answered at
// once by SpecialUi, which records them.

#include "file/gui/dialogs/diskeraser/win/Dialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "SpecialUi.h"
#include "app/win/AppBase.h"
#include "app/win/AppWindow.h"
#include "gui/OnUi.h"
#include "gui/win/Button.h"
#include "gui/win/CheckBox.h"
#include "gui/win/ComboBox.h"
#include "gui/win/Window.h"
#include "lang/Localizer.h"
#include "map/IMappedData.h"
#include "os/FileSystemWrapper.h"
#include "os/FsError.h"
#include "os/System.h"
#include "str/strbuffer/StrBuffer.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace {

using s::file::gui::dialogs::diskeraser::win::Dialog;
using s::os::gui::BoxAnswer;

constexpr const char16_t* kView = u"MainWindow\\View";

std::u16string wide(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

// The drives the window is offered: an "NTFS" and a "FAT32" folder of the
// test's, and /proc/ (which nobody can write) as a third. Folders cannot be
// made while `refuseFolders` is set.
class ChosenDrives : public s::os::FileSystemWrapper {
 public:
  ChosenDrives(const std::string& ntfs, const std::string& fat)
      : FileSystemWrapper(s::os::platformFileSystem()), ntfs_(ntfs), fat_(fat) {}
  std::vector<s::os::VolumeInfo> listVolumes() override {
    return {drive(ntfs_, u"NTFS"), drive(fat_, u"FAT32"), drive("/proc/", u"FAT32")};
  }
  bool createFolder(std::u16string_view path) override {
    if (!refuseFolders) return FileSystemWrapper::createFolder(path);
    s::os::setLastFsError(s::os::FsError::AccessDenied);
    return false;
  }
  // Offers `root` as the NTFS drive (set before the window is opened).
  void offerNtfs(const std::string& root) { ntfs_ = root; }
  std::atomic<bool> refuseFolders{false};

 private:
  static s::os::VolumeInfo drive(const std::string& root, const char16_t* fileSystem) {
    s::os::VolumeInfo v;
    v.root = wide(root);
    v.fileSystem = fileSystem;
    v.eligible = true;
    return v;
  }
  std::string ntfs_, fat_;
};

class EraserWindow : public ::testing::Test {
 protected:
  // The store belongs to the interface thread (the window saves its state
  // there), so the test visits it there too.
  template <class F>
  auto store(F work) {
    return s::gui::onUi([&] { return work(*app_->getSettings()); });
  }

  void SetUp() override {
    ASSERT_TRUE(s::os::gui::ui().start()) << s::os::gui::ui().displayError();
    folder_ = std::filesystem::path(::testing::TempDir()) /
              ("EraserWindow-" + std::to_string(::getpid()));
    ntfs_ = (folder_ / "Ntfs").string() + "/";
    fat_ = (folder_ / "Fat").string() + "/";
    std::filesystem::create_directories(ntfs_);
    std::filesystem::create_directories(fat_);
    drives_ = std::make_unique<ChosenDrives>(ntfs_, fat_);
    previous_ = s::os::setFileSystem(drives_.get());
    app_ = s::app::win::AppBase::create();
    ASSERT_TRUE(app_->init({}));
    app_->getLanguageTable()->selectLanguage(u"English");
    // Every box ticked as stored, the fifth too (it must start unticked
    // all the same), whatever an earlier run left.
    store([](s::map::IMappedData& data) {
      for (const char16_t* name : {u"Process_TrashBin", u"Process_DiskSpace", u"Process_MFTSpace",
                                   u"Process_CluterTips", u"Process_FileEntries"}) {
        data.setValue(kView, name, true);
      }
      return true;
    });
  }
  void TearDown() override {
    close();
    app_->release();
    s::os::setFileSystem(previous_ == &s::os::platformFileSystem() ? nullptr : previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Builds the window on a thread of its own (build() returns when closed).
  void open() {
    record_ = s::app::win::AppWindow::create();
    record_->init(app_, 1);
    dialog_ = Dialog::create();
    dialog_->bind(record_);
    builder_ = std::thread([this] { dialog_->build(); });
    for (int i = 0; i < 500 && (dialog_->window() == nullptr || !dialog_->window()->isVisible());
         ++i) {
      s::os::system().sleepMillis(10);
    }
    ASSERT_NE(dialog_->window(), nullptr);
  }
  void close() {
    if (dialog_ == nullptr) return;
    if (dialog_->window() != nullptr) dialog_->window()->close();
    builder_.join();
    dialog_->release();
    record_->release();
    dialog_ = nullptr;
  }
  s::file::gui::dialogs::diskeraser::win::EraserView& view() { return dialog_->view(); }
  void choose(int entry) { view().driveList->select(entry, true); }
  std::u16string stored(const char16_t* name) {
    return store([name](s::map::IMappedData& data) {
      s::str::strbuffer::StrBuffer value;
      data.getValue(kView, name, value, u"", nullptr, false);
      return std::u16string(value.view());
    });
  }

  SpecialUi ui_;
  std::filesystem::path folder_;
  std::string ntfs_, fat_;
  std::unique_ptr<ChosenDrives> drives_;
  s::os::FileSystem* previous_ = nullptr;
  s::app::win::AppBase* app_ = nullptr;
  s::app::win::AppWindow* record_ = nullptr;
  Dialog* dialog_ = nullptr;
  std::thread builder_;
};

TEST_F(EraserWindow, BoxFiveFollowsTheDriveAndTheLastDriveComesBack) {
  open();
  ASSERT_EQ(view().driveList->getItemCount(), 3);
  choose(0);
  EXPECT_TRUE(view().opCheck[4]->isEnabled()) << "NTFS";
  EXPECT_FALSE(view().opCheck[4]->isChecked()) << "box 5 always starts unticked";
  choose(1);
  EXPECT_FALSE(view().opCheck[4]->isEnabled()) << "FAT32";
  EXPECT_EQ(stored(u"Last_WipedDrive"), wide(fat_));
  close();

  // Stored in another letter case, it still selects its drive.
  std::u16string lower = wide(fat_);
  for (char16_t& c : lower) c = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
  store([&](s::map::IMappedData& data) {
    return data.setValue(kView, u"Last_WipedDrive", lower.c_str());
  });
  open();
  EXPECT_EQ(view().driveList->getSelectedIndex(), 1);
  EXPECT_FALSE(view().opCheck[4]->isEnabled());
}

TEST_F(EraserWindow, TicksAreStoredAtOnce) {
  open();
  const char16_t* names[] = {u"Process_TrashBin", u"Process_DiskSpace", u"Process_MFTSpace",
                             u"Process_CluterTips", u"Process_FileEntries"};
  for (int op = 0; op < 5; ++op) {
    const bool was = view().opCheck[op]->isChecked();
    view().opCheck[op]->setChecked(!was);
    const bool stored =
        store([&](s::map::IMappedData& data) { return data.getValue(kView, names[op], was); });
    EXPECT_EQ(stored, !was) << op;
  }
  close();
  open();
  EXPECT_FALSE(view().opCheck[0]->isChecked()) << "box 1 was unticked and stored";
  EXPECT_FALSE(view().opCheck[4]->isChecked()) << "box 5 starts unticked, stored or not";
}

TEST_F(EraserWindow, EraseAsksWithTheRootAndRefusesADriveThatCannotBeWritten) {
  open();
  for (s::gui::win::CheckBox* box : view().opCheck) box->setChecked(true);
  struct Case {
    int entry;
    std::string root;
    const char* question;
  };
  for (const Case& c : {Case{0, ntfs_, "erase all the recoverable data from the drive [ "},
                        Case{1, fat_, "execute the selected operation(s) on the drive [ "}}) {
    ui_.boxes.clear();
    ui_.boxAnswer = BoxAnswer::kNo;
    choose(c.entry);
    view().eraseButton->click();
    ASSERT_EQ(ui_.boxes.size(), 1u) << "one question, then nothing (No)";
    const std::u16string asked = ui_.boxes[0];
    EXPECT_NE(asked.find(wide(c.question) + wide(c.root) + u" ]"), std::u16string::npos)
        << std::string(asked.begin(), asked.end());
  }
  ui_.boxes.clear();
  choose(2);
  view().eraseButton->click();
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_NE(ui_.boxes[0].find(u"[ /proc/ ] cannot be written"), std::u16string::npos);
  EXPECT_NE(ui_.boxes[0].find(u"administrator (root)"), std::u16string::npos);
  EXPECT_TRUE(view().eraseButton->isEnabled()) << "nothing started";
}

// The run's boxes are shown on the interface thread: waits there for the
// end message (the second box, after the question) and returns it.
std::u16string endMessageOf(SpecialUi& ui, int seconds = 5) {
  auto boxes = [&ui] { return s::gui::onUi([&ui] { return ui.boxes; }); };
  for (int i = 0; i < seconds * 100 && boxes().size() < 2; ++i) s::os::system().sleepMillis(10);
  const std::vector<std::u16string> shown = boxes();
  return shown.size() == 2 ? shown[1] : u"<" + std::u16string(1, u'0' + shown.size()) + u" boxes>";
}

std::string ascii(const std::u16string& text) {
  return std::string(text.begin(), text.end());
}

// On a real NTFS volume whose MFT still holds deleted names: a run of the
// MFT operation that cannot make its folder ends with the traces the volume
// still holds under its end message; a run that can leaves none and says so
// by saying nothing more.
TEST_F(EraserWindow, EndMessageListsTheTracesAnAuditStillFinds) {
  std::string reason;
  const bool capable = vonq::test::ScratchNtfs::capable(reason);
  VONQ_REQUIRE_CAPABILITY(capable, reason);
  vonq::test::ScratchNtfs volume(vonq::test::ScratchNtfs::Options::ofSize(32ull << 20));
  ASSERT_TRUE(volume.ok()) << volume.error();
  std::filesystem::create_directories(volume.path("gone"));
  for (int i = 0; i < 30; ++i) {
    std::ofstream(volume.path("gone/deleted-" + std::to_string(i) + ".txt")) << i;
  }
  ::sync();
  std::filesystem::remove_all(volume.path("gone"));
  drives_->offerNtfs(volume.mountPoint() + "/");
  open();
  choose(0);
  for (int op = 0; op < 5; ++op) view().opCheck[op]->setChecked(op == 2);
  ui_.boxAnswer = BoxAnswer::kYes;

  drives_->refuseFolders = true;
  view().eraseButton->click();
  const std::string failed = ascii(endMessageOf(ui_));
  EXPECT_NE(failed.find("Some operation could not do all its work:"), std::string::npos) << failed;
  EXPECT_NE(failed.find("\r\nTraces still found on the drive after the run:\r\n"
                        "free MFT records still holding a file name: "),
            std::string::npos)
      << failed;

  for (int i = 0; i < 500 && !view().eraseButton->isEnabled(); ++i) s::os::system().sleepMillis(10);
  s::gui::onUi([this] { ui_.boxes.clear(); });
  drives_->refuseFolders = false;
  view().eraseButton->click();
  const std::string clean = ascii(endMessageOf(ui_, 60));
  EXPECT_NE(clean.find("Operation Complete!"), std::string::npos) << clean;
  EXPECT_EQ(clean.find("Traces"), std::string::npos) << clean;
}

TEST_F(EraserWindow, AFolderThatIsNoVolumeEndsAsNotSupportedAndOpensTheWindowAgain) {
  open();
  choose(0);
  ui_.boxAnswer = BoxAnswer::kYes;
  view().eraseButton->click();
  // The run's boxes are shown on the interface thread: read them there.
  auto boxes = [this] { return s::gui::onUi([this] { return ui_.boxes; }); };
  for (int i = 0; i < 500 && boxes().size() < 2; ++i) s::os::system().sleepMillis(10);
  const std::vector<std::u16string> shown = boxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[1].find(u"This drive type is curretly not supported."), std::u16string::npos);
  for (int i = 0; i < 200 && !view().eraseButton->isEnabled(); ++i) s::os::system().sleepMillis(10);
  EXPECT_TRUE(view().eraseButton->isEnabled());
  EXPECT_TRUE(view().driveList->isEnabled());
  EXPECT_FALSE(view().cancelButton->isEnabled());
}

}  // namespace
