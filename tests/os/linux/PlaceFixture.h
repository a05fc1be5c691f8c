#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FsTestSupport.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace vonq::test::fs {

// Where a file-system test runs: a plain temporary folder on the machine's own
// file system, or the root of a scratch ntfs-3g volume.
enum class Place { TempFolder, ScratchNtfs };

inline std::string placeName(const ::testing::TestParamInfo<Place>& info) {
  return info.param == Place::TempFolder ? "TempFolder" : "ScratchNtfs";
}

// Prepares the place a parameterised test runs in; `Param` is the test's
// parameter and placeOf() picks the place out of it.
template <typename Param>
class PlaceTestOf : public ::testing::TestWithParam<Param> {
 protected:
  virtual Place placeOf(const Param& param) const = 0;

  void SetUp() override {
    if (!onNtfs()) {
      temp_ = std::make_unique<TempFolder>();
      ASSERT_FALSE(temp_->path().empty());
      dir_ = temp_->path();
      return;
    }
    std::string reason;
    VONQ_REQUIRE_CAPABILITY(ScratchNtfs::capable(reason), reason);
    volume_ = std::make_unique<ScratchNtfs>();
    ASSERT_TRUE(volume_->ok()) << volume_->error();
    dir_ = volume_->mountPoint();
  }

  bool onNtfs() const { return placeOf(this->GetParam()) == Place::ScratchNtfs; }
  std::string at(const std::string& name) const { return dir_ + "/" + name; }

  std::unique_ptr<TempFolder> temp_;
  std::unique_ptr<ScratchNtfs> volume_;
  std::string dir_;
};

class PlaceTest : public PlaceTestOf<Place> {
 protected:
  Place placeOf(const Place& place) const override { return place; }
};

}  // namespace vonq::test::fs
