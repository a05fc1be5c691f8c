// The settings tree kept in an XML file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "col/_array/ArrayU08.h"
#include "reg/RegTestSupport.h"
#include "str/strbuffer/StrBuffer.h"
#include "xml/MappedData.h"
#include "xml/Node.h"

namespace vonq::test::reg {
namespace {

using s::col::_array::ArrayU08;
using s::str::strbuffer::StrBuffer;
using s::xml::MappedData;

struct Releaser {
  void operator()(s::thread::IPoolable* object) const {
    if (object != nullptr) object->release();
  }
};
template <class T>
using Pooled = std::unique_ptr<T, Releaser>;

std::u16string treeXml(MappedData& data) {
  Pooled<StrBuffer> xml(data.getRoot()->toXml(nullptr, false));
  return xml->getText();
}

std::u16string text(MappedData& data, const char16_t* group, const char16_t* name) {
  Pooled<StrBuffer> out(StrBuffer::create());
  data.getValue(group, name, *out, u"<missing>", nullptr, false);
  return out->getText();
}

class XmlSettings : public ::testing::Test {
 protected:
  std::string file() const { return folder_.at("savedata/SaveData.xml"); }
  Pooled<MappedData> open() {
    Pooled<MappedData> data(MappedData::create());
    data->openInFolder(u16(folder_.path()).c_str());
    return data;
  }

  ScratchFolder folder_;
};

TEST_F(XmlSettings, SettingAValueTwiceKeepsOneAttributeWithTheSecondValue) {
  Pooled<MappedData> data = open();
  EXPECT_EQ(std::u16string(data->getFilePath()), u16(file()));
  ASSERT_TRUE(data->setValue(u"a/b", u"v", std::int32_t{1}));
  ASSERT_TRUE(data->setValue(u"a", u"w", u"x"));
  ASSERT_TRUE(data->setValue(u"a/b", u"V", std::int32_t{2}));
  // The second write replaces the first (names match ignoring case).
  EXPECT_EQ(treeXml(*data), u"<savedata><a w=\"x\"><b V=\"2\"></b></a></savedata>");
  EXPECT_EQ(fileContent(file()), "<savedata><a w=\"x\"><b V=\"2\"></b></a></savedata>");
}

TEST_F(XmlSettings, GroupPartsNestAndMatchTheirNamesExactly) {
  Pooled<MappedData> data = open();
  ASSERT_TRUE(data->setValue(u"Main/View", u"Width", std::int32_t{640}));
  EXPECT_EQ(data->getValue(u"Main\\View", u"Width", std::int32_t{0}), 640);
  EXPECT_EQ(data->getValue(u"/Main//View/", u"Width", std::int32_t{0}), 640);
  EXPECT_EQ(data->getValue(u"main/view", u"Width", std::int32_t{-1}), -1);
  EXPECT_FALSE(data->openGroup(u"main"));
  EXPECT_TRUE(data->openGroup(u""));

  ASSERT_TRUE(data->setValue(u"", u"Language", u"English"));
  EXPECT_EQ(treeXml(*data),
            u"<savedata Language=\"English\"><Main><View Width=\"640\"></View></Main></savedata>");
}

TEST_F(XmlSettings, EveryKindSurvivesASaveAndALoad) {
  const std::u16string awkward = u"a \"quoted\" <tag> & line\nbreak";
  {
    Pooled<MappedData> data = open();
    ASSERT_TRUE(data->setValue(u"K", u"u8", std::uint8_t{250}));
    ASSERT_TRUE(data->setValue(u"K", u"u16", std::uint16_t{65535}));
    ASSERT_TRUE(data->setValue(u"K", u"u32", std::uint32_t{4000000000u}));
    ASSERT_TRUE(data->setValue(u"K", u"u64", std::uint64_t{0xFFFFFFFFFFFFFFFFu}));
    ASSERT_TRUE(data->setValue(u"K", u"s8", std::int8_t{-100}));
    ASSERT_TRUE(data->setValue(u"K", u"s16", std::int16_t{-30000}));
    ASSERT_TRUE(data->setValue(u"K", u"s32", std::int32_t{-2000000000}));
    ASSERT_TRUE(data->setValue(u"K", u"s64", std::int64_t{-9000000000000000000}));
    ASSERT_TRUE(data->setValue(u"K", u"f", 0.25f));
    ASSERT_TRUE(data->setValue(u"K", u"d", -1234.5));
    ASSERT_TRUE(data->setValue(u"K", u"b", true));
    ASSERT_TRUE(data->setValue(u"K", u"s", awkward.c_str()));
    ASSERT_TRUE(data->setValue(u"K", u"", u"  spaced  text "));
    Pooled<ArrayU08> bytes(ArrayU08::create());
    for (std::uint8_t b : {0x00, 0x7F, 0xFF}) bytes->add(b);
    ASSERT_TRUE(data->setValue(u"K", u"bytes", *bytes));
  }
  Pooled<MappedData> data(MappedData::create());
  ASSERT_TRUE(data->open(u16(file()).c_str()));
  EXPECT_EQ(data->getValue(u"K", u"u8", std::uint8_t{0}), 250);
  EXPECT_EQ(data->getValue(u"K", u"u16", std::uint16_t{0}), 65535);
  EXPECT_EQ(data->getValue(u"K", u"u32", std::uint32_t{0}), 4000000000u);
  EXPECT_EQ(data->getValue(u"K", u"u64", std::uint64_t{0}), 0xFFFFFFFFFFFFFFFFu);
  EXPECT_EQ(data->getValue(u"K", u"s8", std::int8_t{0}), -100);
  EXPECT_EQ(data->getValue(u"K", u"s16", std::int16_t{0}), -30000);
  EXPECT_EQ(data->getValue(u"K", u"s32", std::int32_t{0}), -2000000000);
  EXPECT_EQ(data->getValue(u"K", u"s64", std::int64_t{0}), -9000000000000000000);
  EXPECT_EQ(data->getValue(u"K", u"f", 0.0f), 0.25f);
  EXPECT_EQ(data->getValue(u"K", u"d", 0.0), -1234.5);
  EXPECT_TRUE(data->getValue(u"K", u"b", false));
  EXPECT_EQ(text(*data, u"K", u"s"), awkward);
  EXPECT_EQ(text(*data, u"K", u""), u"  spaced  text ");
  Pooled<ArrayU08> bytes(data->getValue(u"K", u"bytes", static_cast<ArrayU08*>(nullptr)));
  ASSERT_NE(bytes, nullptr);
  ASSERT_EQ(bytes->length(), 3u);
  EXPECT_EQ(bytes->get(1), 0x7F);
  EXPECT_EQ(bytes->get(2), 0xFF);
}

TEST_F(XmlSettings, MissingValuesGiveDefaultsAndDeletionsRemoveOnlyTheirTarget) {
  Pooled<MappedData> data = open();
  ASSERT_TRUE(data->setValue(u"G/Sub", u"x", std::int32_t{1}));
  ASSERT_TRUE(data->setValue(u"G", u"y", std::int32_t{2}));
  ASSERT_TRUE(data->setValue(u"G", u"z", std::int32_t{3}));
  ASSERT_TRUE(data->setValue(u"H", u"y", std::int32_t{4}));

  EXPECT_EQ(data->getValue(u"G", u"nothing", 1.5), 1.5);
  EXPECT_EQ(data->getValue(u"Nope", u"y", std::uint64_t{8}), 8u);
  EXPECT_EQ(text(*data, u"Nope", u"y"), u"<missing>");
  EXPECT_FALSE(data->hasValue(u"G", u"nothing"));
  EXPECT_TRUE(data->hasValue(u"G", u"Y"));

  EXPECT_TRUE(data->deleteValue(u"G", u"y"));
  EXPECT_FALSE(data->deleteValue(u"G", u"y"));
  EXPECT_EQ(data->getValue(u"G", u"z", std::int32_t{0}), 3);

  EXPECT_TRUE(data->deleteGroup(u"G"));
  EXPECT_FALSE(data->openGroup(u"G/Sub"));
  EXPECT_FALSE(data->deleteGroup(u"G"));
  EXPECT_EQ(data->getValue(u"H", u"y", std::int32_t{0}), 4);
  EXPECT_EQ(fileContent(file()), "<savedata><H y=\"4\"></H></savedata>");
}

TEST_F(XmlSettings, AnUnreadableFileStartsAnEmptyTreeAndIsReplacedOnFlush) {
  std::filesystem::create_directories(folder_.at("savedata"));
  std::ofstream(file()) << "no markup at all";
  Pooled<MappedData> data(MappedData::create());
  EXPECT_FALSE(data->open(u16(file()).c_str()));
  EXPECT_EQ(treeXml(*data), u"<savedata></savedata>");
  EXPECT_EQ(data->getValue(u"View", u"Width", std::int32_t{400}), 400);

  data->setAutoFlush(false);
  ASSERT_TRUE(data->setValue(u"View", u"Width", std::int32_t{500}));
  EXPECT_EQ(fileContent(file()), "no markup at all");  // nothing written yet
  ASSERT_TRUE(data->flush());
  EXPECT_EQ(fileContent(file()), "<savedata><View Width=\"500\"></View></savedata>");
}

}  // namespace
}  // namespace vonq::test::reg
