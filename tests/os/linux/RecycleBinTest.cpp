#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "FsTestSupport.h"
#include "os/Shell.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace {

namespace fs = std::filesystem;
using vonq::test::ScratchNtfs;
using vonq::test::fs::lexists;
using vonq::test::fs::writeBytes;

// Sets an environment variable for one scope (unset: nullopt).
class EnvVar {
 public:
  EnvVar(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~EnvVar() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A trashed file in the bin at `bin`.
std::string trashInto(const std::string& bin, const std::string& name) {
  const std::string file = bin + "/files/" + name;
  const std::string info = bin + "/info/" + fs::path(name).filename().string() + ".trashinfo";
  fs::create_directories(fs::path(file).parent_path());
  fs::create_directories(bin + "/info");
  writeBytes(file, "trashed");
  writeBytes(info, "[Trash Info]");
  return file;
}

bool emptied(const std::string& bin) {
  return fs::is_empty(bin + "/files") && fs::is_empty(bin + "/info");
}

// Run as root through sudo or pkexec, the recycle-bin operation empties the
// bins of the user who asked as well as root's own; someone else's bin stays
// as it is, and a bin that cannot be emptied makes the result false.
TEST(RecycleBin, AsRootEmptiesTheBinsOfTheUserWhoAskedThroughSudoOrPkexec) {
  std::string reason;
  VONQ_REQUIRE_CAPABILITY(ScratchNtfs::capable(reason), reason);
  VONQ_REQUIRE_CAPABILITY(::getuid() == 0, "needs root");
  struct Case {
    const char* variable;
    const char* uid;
    bool otherUsersBinsEmptied;
  };
  const Case cases[] = {{"SUDO_UID", "4242", true},
                        {"PKEXEC_UID", "4242", true},
                        {"SUDO_UID", "not-a-uid", false},
                        {"SUDO_UID", "0", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.variable) + "=" + c.uid);
    ScratchNtfs::Options options;
    options.mountOptions = "permissions";
    ScratchNtfs volume(options);
    ASSERT_TRUE(volume.ok()) << volume.error();
    const std::string roots = volume.path(".Trash-0");
    const std::string users = volume.path(".Trash-4242");
    const std::string usersShared = volume.path(".Trash/4242");
    const std::string someoneElses = volume.path(".Trash-4343");
    trashInto(roots, "roots.txt");
    trashInto(users, "users.txt");
    trashInto(users, "folder/nested.txt");
    trashInto(usersShared, "shared.txt");
    const std::string kept = trashInto(someoneElses, "theirs.txt");
    ASSERT_EQ(::chmod(volume.path(".Trash").c_str(), 01777), 0);
    EnvVar sudo("SUDO_UID", std::nullopt);
    EnvVar pkexec("PKEXEC_UID", std::nullopt);
    EnvVar set(c.variable, std::string(c.uid));

    EXPECT_TRUE(s::os::shell().emptyRecycleBin(volume.root()));
    EXPECT_TRUE(emptied(roots));
    EXPECT_EQ(emptied(users), c.otherUsersBinsEmptied);
    EXPECT_EQ(emptied(usersShared), c.otherUsersBinsEmptied);
    EXPECT_TRUE(lexists(kept));
  }
}

TEST(RecycleBin, ABinThatCannotBeEmptiedIsNotReportedAsDone) {
  std::string reason;
  VONQ_REQUIRE_CAPABILITY(ScratchNtfs::capable(reason), reason);
  VONQ_REQUIRE_CAPABILITY(::getuid() == 0, "needs root");
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  EnvVar sudo("SUDO_UID", std::string("4242"));
  const std::string users = volume.path(".Trash-4242");
  trashInto(users, "users.txt");
  // A volume mounted inside the bin is never entered, so the bin stays.
  ASSERT_EQ(::mkdir((users + "/files/mounted").c_str(), 0755), 0);
  ASSERT_EQ(::mount("tmpfs", (users + "/files/mounted").c_str(), "tmpfs", 0, "size=1m"), 0);
  writeBytes(users + "/files/mounted/inside.txt", "other volume");

  EXPECT_FALSE(s::os::shell().emptyRecycleBin(volume.root()));
  EXPECT_FALSE(lexists(users + "/files/users.txt"));
  EXPECT_TRUE(lexists(users + "/files/mounted/inside.txt"));
  ::umount2((users + "/files/mounted").c_str(), MNT_DETACH);
}

}  // namespace
