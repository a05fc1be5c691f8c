// The settings tree over the registry: groups, defaults and failures.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "col/_array/ArrayU08.h"
#include "os/RegistryStore.h"
#include "reg/MappedData.h"
#include "reg/RegTestSupport.h"
#include "reg/win/RegDir.h"
#include "str/strarray/StrArray.h"
#include "str/strbuffer/StrBuffer.h"

namespace vonq::test::reg {
namespace {

using s::col::_array::ArrayU08;
using s::os::RegRoot;
using s::reg::MappedData;
using s::reg::win::RegDir;
using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;

constexpr const char16_t* kBase = u"Software\\VonqTest\\Vonq Nulmark\\SaveData";

struct Releaser {
  void operator()(s::thread::IPoolable* object) const {
    if (object != nullptr) object->release();
  }
};
template <class T>
using Pooled = std::unique_ptr<T, Releaser>;

bool keyExists(const std::u16string& path) {
  Pooled<RegDir> dir(RegDir::create());
  return dir->openRootPath(RegRoot::kCurrentUser, path.c_str());
}

class RegMappedData : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    data_.reset(MappedData::create());
    data_->open(RegRoot::kCurrentUser, kBase);
  }
  void TearDown() override {
    data_.reset();
    StoreTest::TearDown();
  }

  // Installs a counting wrapper around the test's store (kept until the
  // fixture ends, after every key that used it).
  CountingStore& counting() {
    counting_ = std::make_unique<CountingStore>(store());
    s::os::setRegistryStore(counting_.get());
    return *counting_;
  }

  Pooled<MappedData> data_;
  std::unique_ptr<CountingStore> counting_;
};

TEST_F(RegMappedData, WritingAGroupCreatesTheMissingKeysAboveIt) {
  EXPECT_FALSE(keyExists(kBase));
  EXPECT_FALSE(data_->openGroup(u"MainWindow\\View"));
  ASSERT_TRUE(data_->openGroupForWrite(u"MainWindow\\View"));
  EXPECT_TRUE(keyExists(kBase));
  EXPECT_TRUE(keyExists(std::u16string(kBase) + u"\\MainWindow"));
  EXPECT_TRUE(keyExists(std::u16string(kBase) + u"\\MainWindow\\View"));

  ASSERT_TRUE(data_->setValue(u"MainWindow\\View4K", u"Width", std::int32_t{800}));
  ASSERT_TRUE(data_->setValue(u"", u"Language", u"English"));  // the base key itself
  Pooled<RegDir> base(RegDir::create());
  base->openRootPath(RegRoot::kCurrentUser, kBase);
  Pooled<StrBuffer> text(StrBuffer::create());
  EXPECT_TRUE(base->getValue(u"Language", *text, nullptr, nullptr, false));
  EXPECT_EQ(std::u16string(text->getText()), u"English");
  EXPECT_EQ(data_->getValue(u"MainWindow\\View4K", u"Width", std::int32_t{0}), 800);
}

TEST_F(RegMappedData, MissingGroupsAndValuesGiveTheDefaults) {
  ASSERT_TRUE(data_->setValue(u"View", u"Maximized", true));
  ASSERT_TRUE(data_->setValue(u"View", u"Scale", 2.5));

  EXPECT_EQ(data_->getValue(u"NoGroup", u"Width", std::int32_t{400}), 400);
  EXPECT_EQ(data_->getValue(u"View", u"NoValue", std::uint16_t{7}), 7);
  EXPECT_EQ(data_->getValue(u"View", u"Scale", 1.0f), 1.0f);  // stored as a double
  EXPECT_FALSE(data_->hasValue(u"View", u"NoValue"));
  EXPECT_TRUE(data_->hasValue(u"VIEW", u"maximized"));

  Pooled<StrBuffer> text(StrBuffer::create());
  bool expandable = true;
  EXPECT_FALSE(data_->getValue(u"NoGroup", u"OnMClick", *text, u"Close", &expandable, false));
  EXPECT_EQ(std::u16string(text->getText()), u"Close");
  EXPECT_FALSE(expandable);
  EXPECT_EQ(data_->getValue(u"NoGroup", u"Blob", static_cast<ArrayU08*>(nullptr)), nullptr);
  EXPECT_FALSE(keyExists(std::u16string(kBase) + u"\\NoGroup"));  // reads create nothing
}

TEST_F(RegMappedData, BytesComeIntoTheGivenArrayOrANewOne) {
  Pooled<ArrayU08> bytes(ArrayU08::create());
  for (std::uint8_t b : {1, 2, 3}) bytes->add(b);
  ASSERT_TRUE(data_->setValue(u"Bin", u"Blob", *bytes));

  Pooled<ArrayU08> fresh(data_->getValue(u"Bin", u"Blob", static_cast<ArrayU08*>(nullptr)));
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->length(), 3u);

  Pooled<ArrayU08> given(ArrayU08::create());
  given->add(9);
  EXPECT_EQ(data_->getValue(u"Bin", u"Blob", given.get()), given.get());
  ASSERT_EQ(given->length(), 3u);
  EXPECT_EQ(given->get(2), 3);
  EXPECT_EQ(data_->getValue(u"Bin", u"Missing", given.get()), nullptr);
  EXPECT_EQ(given->length(), 3u);
}

TEST_F(RegMappedData, StringListsAreNotKept) {
  Pooled<StrArray> list(StrArray::create());
  list->addText(u"a");
  EXPECT_FALSE(data_->setValue(u"L", u"List", *list));
  EXPECT_FALSE(keyExists(std::u16string(kBase) + u"\\L"));
  EXPECT_FALSE(data_->getValue(u"L", u"List", *list));
  EXPECT_EQ(list->length(), 1u);
}

TEST_F(RegMappedData, DeleteGroupRemovesEverythingBelowIt) {
  ASSERT_TRUE(data_->setValue(u"MainWindow", u"X", std::int32_t{1}));
  ASSERT_TRUE(data_->setValue(u"MainWindow\\View", u"Y", std::int32_t{2}));
  ASSERT_TRUE(data_->setValue(u"MainWindow\\View\\Deep", u"Z", std::int32_t{3}));
  ASSERT_TRUE(data_->setValue(u"Language", u"", u"English"));

  EXPECT_TRUE(data_->deleteGroup(u"mainwindow"));
  EXPECT_FALSE(keyExists(std::u16string(kBase) + u"\\MainWindow"));
  EXPECT_FALSE(data_->openGroup(u"MainWindow"));
  EXPECT_EQ(data_->getValue(u"MainWindow\\View", u"Y", std::int32_t{-1}), -1);
  EXPECT_TRUE(keyExists(std::u16string(kBase) + u"\\Language"));
  EXPECT_FALSE(data_->deleteGroup(u"MainWindow"));  // already gone

  // The group can be written again afterwards.
  EXPECT_TRUE(data_->setValue(u"MainWindow", u"X", std::int32_t{4}));
  EXPECT_EQ(data_->getValue(u"MainWindow", u"X", std::int32_t{0}), 4);
}

TEST_F(RegMappedData, TheSameGroupInAnotherCaseReusesTheOpenKey) {
  CountingStore& counting = this->counting();
  ASSERT_TRUE(data_->setValue(u"View", u"Width", std::int32_t{640}));

  counting.opens = 0;
  EXPECT_EQ(data_->getValue(u"VIEW", u"Width", std::int32_t{0}), 640);
  EXPECT_EQ(data_->getValue(u"view", u"Width", std::int32_t{0}), 640);
  EXPECT_TRUE(data_->setValue(u"View", u"Height", std::int32_t{480}));
  EXPECT_EQ(counting.opens, 0);

  EXPECT_EQ(data_->getValue(u"Other", u"Width", std::int32_t{1}), 1);
  EXPECT_GT(counting.opens, 0);
}

TEST_F(RegMappedData, AGroupSeenMissingIsAskedAgainNotAssumedPresent) {
  EXPECT_FALSE(data_->openGroup(u"Later"));
  EXPECT_FALSE(data_->openGroup(u"Later"));  // the key object is held, the key is not there

  Pooled<MappedData> other(MappedData::create());
  other->open(RegRoot::kCurrentUser, kBase);
  ASSERT_TRUE(other->setValue(u"Later", u"v", std::int32_t{5}));
  EXPECT_TRUE(data_->openGroup(u"Later"));
  EXPECT_EQ(data_->getValue(u"Later", u"v", std::int32_t{0}), 5);
}

TEST_F(RegMappedData, AKeyThatCannotBeCreatedFailsTheSetter) {
  counting().refuseCreate = true;
  EXPECT_FALSE(data_->openGroupForWrite(u"View"));
  EXPECT_FALSE(data_->setValue(u"View", u"Width", std::int32_t{1}));
  EXPECT_FALSE(data_->setValue(u"View", u"Name", u"x"));
  EXPECT_EQ(data_->getValue(u"View", u"Width", std::int32_t{-1}), -1);
}

TEST_F(RegMappedData, AStoreWithoutABaseKeyFailsQuietly) {
  Pooled<MappedData> unopened(MappedData::create());
  EXPECT_FALSE(unopened->openGroup(u""));
  EXPECT_FALSE(unopened->setValue(u"G", u"v", true));
  EXPECT_TRUE(unopened->getValue(u"G", u"v", true));
  EXPECT_TRUE(unopened->getAutoFlush());
  EXPECT_TRUE(unopened->flush());
}

}  // namespace
}  // namespace vonq::test::reg
