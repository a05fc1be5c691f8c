// Typed values of a registry key: encodings, size checks, strings, lists and
// bytes.

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "col/_array/ArrayU08.h"
#include "os/RegistryStore.h"
#include "reg/RegTestSupport.h"
#include "reg/win/RegDir.h"
#include "str/strarray/StrArray.h"
#include "str/strbuffer/StrBuffer.h"

namespace vonq::test::reg {
namespace {

using s::col::_array::ArrayU08;
using s::os::RegRoot;
using s::os::RegType;
using s::reg::win::RegDir;
using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;

struct Releaser {
  void operator()(s::thread::IPoolable* object) const {
    if (object != nullptr) object->release();
  }
};
template <class T>
using Pooled = std::unique_ptr<T, Releaser>;

class RegDirValues : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    key_.reset(RegDir::create());
    key_->openRootPath(RegRoot::kCurrentUser, u"Software\\VonqTest\\Values");
  }
  void TearDown() override {
    key_.reset();
    StoreTest::TearDown();
  }

  std::u16string text(const char16_t* name, const char16_t* def, bool* expandable, bool expand) {
    Pooled<StrBuffer> out(StrBuffer::create());
    key_->getValue(name, *out, def, expandable, expand);
    return std::u16string(out->getText());
  }

  Pooled<RegDir> key_;
};

struct Encoding {
  const char* kind;
  std::function<bool(RegDir&)> write;
  std::function<bool(RegDir&)> readsBack;  // the same kind reads the written value
  std::uint32_t type;
  std::uint32_t size;
};

TEST_F(RegDirValues, EveryKindRoundTripsWithItsRegistryTypeAndSize) {
  const Encoding cases[] = {
      {"u8", [](RegDir& k) { return k.setValue(u"v", std::uint8_t{200}); },
       [](RegDir& k) { return k.getValue(u"v", std::uint8_t{1}) == 200; }, RegType::kDword, 4},
      {"u16", [](RegDir& k) { return k.setValue(u"v", std::uint16_t{65000}); },
       [](RegDir& k) { return k.getValue(u"v", std::uint16_t{1}) == 65000; }, RegType::kDword, 4},
      {"u32", [](RegDir& k) { return k.setValue(u"v", std::uint32_t{0xFFFFFFFEu}); },
       [](RegDir& k) { return k.getValue(u"v", std::uint32_t{1}) == 0xFFFFFFFEu; }, RegType::kDword,
       4},
      {"u64", [](RegDir& k) { return k.setValue(u"v", std::uint64_t{0xFEDCBA9876543210u}); },
       [](RegDir& k) { return k.getValue(u"v", std::uint64_t{1}) == 0xFEDCBA9876543210u; },
       RegType::kBinary, 8},
      {"s8", [](RegDir& k) { return k.setValue(u"v", std::int8_t{-128}); },
       [](RegDir& k) { return k.getValue(u"v", std::int8_t{1}) == -128; }, RegType::kDword, 4},
      {"s16", [](RegDir& k) { return k.setValue(u"v", std::int16_t{-32768}); },
       [](RegDir& k) { return k.getValue(u"v", std::int16_t{1}) == -32768; }, RegType::kDword, 4},
      {"s32", [](RegDir& k) { return k.setValue(u"v", std::numeric_limits<std::int32_t>::min()); },
       [](RegDir& k) {
         return k.getValue(u"v", std::int32_t{1}) == std::numeric_limits<std::int32_t>::min();
       },
       RegType::kDword, 4},
      {"s64", [](RegDir& k) { return k.setValue(u"v", std::int64_t{-5000000000}); },
       [](RegDir& k) { return k.getValue(u"v", std::int64_t{1}) == -5000000000; }, RegType::kBinary,
       8},
      {"float", [](RegDir& k) { return k.setValue(u"v", -1.5f); },
       [](RegDir& k) { return k.getValue(u"v", 0.0f) == -1.5f; }, RegType::kBinary, 4},
      {"double", [](RegDir& k) { return k.setValue(u"v", DBL_MAX); },
       [](RegDir& k) { return k.getValue(u"v", 0.0) == DBL_MAX; }, RegType::kBinary, 8},
      {"bool", [](RegDir& k) { return k.setValue(u"v", true); },
       [](RegDir& k) { return k.getValue(u"v", false); }, RegType::kDword, 4},
  };
  for (const Encoding& c : cases) {
    SCOPED_TRACE(c.kind);
    ASSERT_TRUE(c.write(*key_));
    EXPECT_TRUE(c.readsBack(*key_));
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_TRUE(key_->queryValue(u"v", &type, &size, RegDir::kAnyType));
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(size, c.size);
  }
}

TEST_F(RegDirValues, ReadsCheckTheDataSizeAndTakeTheLowBits) {
  struct Check {
    const char* what;
    std::function<bool(RegDir&)> write;
    std::function<bool(RegDir&)> holds;
  };
  const Check cases[] = {
      {"16-bit read as 32-bit is zero-extended",
       [](RegDir& k) { return k.setValue(u"v", std::uint16_t{0xBEEF}); },
       [](RegDir& k) { return k.getValue(u"v", std::uint32_t{0}) == 0xBEEFu; }},
      {"-1 as signed 8-bit reads as unsigned 32-bit 0xFFFFFFFF",
       [](RegDir& k) { return k.setValue(u"v", std::int8_t{-1}); },
       [](RegDir& k) { return k.getValue(u"v", std::uint32_t{0}) == 0xFFFFFFFFu; }},
      {"signed 16-bit read as signed 32-bit keeps its sign",
       [](RegDir& k) { return k.setValue(u"v", std::int16_t{-2}); },
       [](RegDir& k) { return k.getValue(u"v", std::int32_t{0}) == -2; }},
      {"32-bit read as 8-bit takes the low byte",
       [](RegDir& k) { return k.setValue(u"v", std::uint32_t{0x12345678}); },
       [](RegDir& k) { return k.getValue(u"v", std::uint8_t{0}) == 0x78; }},
      {"a double read as single gives the default", [](RegDir& k) { return k.setValue(u"v", 3.5); },
       [](RegDir& k) { return k.getValue(u"v", 9.0f) == 9.0f; }},
      {"a single read as double gives the default",
       [](RegDir& k) { return k.setValue(u"v", 3.5f); },
       [](RegDir& k) { return k.getValue(u"v", 9.0) == 9.0; }},
      {"64-bit read as 32-bit gives the default",
       [](RegDir& k) { return k.setValue(u"v", std::uint64_t{5}); },
       [](RegDir& k) { return k.getValue(u"v", std::uint32_t{7}) == 7u; }},
      {"32-bit read as 64-bit gives the default",
       [](RegDir& k) { return k.setValue(u"v", std::int32_t{5}); },
       [](RegDir& k) { return k.getValue(u"v", std::int64_t{7}) == 7; }},
      {"any non-zero DWORD is true",
       [](RegDir& k) { return k.setValue(u"v", std::uint32_t{0x100}); },
       [](RegDir& k) { return k.getValue(u"v", false); }},
      {"a 3-unit string is not a number", [](RegDir& k) { return k.setValue(u"v", u"ab"); },
       [](RegDir& k) { return k.getValue(u"v", std::uint32_t{7}) == 7u; }},
      {"a missing value gives the default", [](RegDir&) { return true; },
       [](RegDir& k) { return k.getValue(u"missing", std::int16_t{-9}) == -9; }},
  };
  for (const Check& c : cases) {
    SCOPED_TRACE(c.what);
    key_->deleteValue(u"v");
    ASSERT_TRUE(c.write(*key_));
    EXPECT_TRUE(c.holds(*key_));
  }
}

TEST_F(RegDirValues, StringsKeepEveryUnitAndAnEmptyValueIsNotMissing) {
  const std::u16string odd = u"Grüße \U0001F600 \\ \"q\" %PATH%";
  ASSERT_TRUE(key_->setValue(u"Text", odd.c_str()));
  ASSERT_TRUE(key_->setValue(u"Empty", u""));
  bool expandable = true;
  EXPECT_EQ(text(u"Text", u"default", &expandable, true), odd);  // REG_SZ is never expanded
  EXPECT_FALSE(expandable);
  EXPECT_EQ(text(u"Empty", u"default", nullptr, false), u"");
  EXPECT_EQ(text(u"Missing", u"default", &expandable, false), u"default");
  EXPECT_FALSE(expandable);
  EXPECT_EQ(key_->getValueSize(u"Text"), (odd.size() + 1) * 2);

  ASSERT_TRUE(key_->setValue(u"Number", std::uint32_t{0x00410042}));
  EXPECT_EQ(text(u"Number", u"default", nullptr, false), u"default");
}

TEST_F(RegDirValues, ExpandableStringsAreFlaggedAndExpandedOnRequest) {
  ::setenv("VONQ_REG_TEST_DIR", "/srv/data", 1);
  ::unsetenv("VONQ_REG_TEST_UNSET");
  ASSERT_TRUE(key_->setExpandValue(
      u"Path", u"%VONQ_REG_TEST_DIR%\\sub %VONQ_REG_TEST_UNSET% 100% %%VONQ_REG_TEST_DIR%"));
  bool expandable = false;
  EXPECT_EQ(text(u"Path", nullptr, &expandable, false),
            u"%VONQ_REG_TEST_DIR%\\sub %VONQ_REG_TEST_UNSET% 100% %%VONQ_REG_TEST_DIR%");
  EXPECT_TRUE(expandable);
  EXPECT_EQ(text(u"Path", nullptr, &expandable, true),
            u"/srv/data\\sub %VONQ_REG_TEST_UNSET% 100% %/srv/data");

  // No length limit on the expansion.
  const std::string big(2000, 'x');
  ::setenv("VONQ_REG_TEST_DIR", big.c_str(), 1);
  EXPECT_EQ(text(u"Path", nullptr, nullptr, true).size(),
            2000u + std::u16string(u"\\sub %VONQ_REG_TEST_UNSET% 100% %").size() + 2000u);
  ::unsetenv("VONQ_REG_TEST_DIR");
}

TEST_F(RegDirValues, StringListsRoundTripAndAListOfOneEmptyStringReadsEmpty) {
  Pooled<StrArray> list(StrArray::create());
  list->addText(u"first");
  list->addText(u"zweite \u00e9");
  ASSERT_TRUE(key_->setValue(u"List", *list));

  Pooled<StrArray> read(StrArray::create());
  ASSERT_TRUE(key_->getValue(u"List", *read));
  ASSERT_EQ(read->length(), 2u);
  EXPECT_EQ(std::u16string(read->get(0)->getText()), u"first");
  EXPECT_EQ(std::u16string(read->get(1)->getText()), u"zweite \u00e9");

  Pooled<StrArray> empty(StrArray::create());
  ASSERT_TRUE(key_->setValue(u"Empty", *empty));  // four zero bytes
  EXPECT_TRUE(key_->getValue(u"Empty", *read));
  EXPECT_EQ(read->length(), 0u);

  // Not a list: the caller's list stays as it was.
  read->addText(u"kept");
  ASSERT_TRUE(key_->setValue(u"Text", u"abc"));
  EXPECT_FALSE(key_->getValue(u"Text", *read));
  EXPECT_FALSE(key_->getValue(u"Missing", *read));
  ASSERT_EQ(read->length(), 1u);
}

TEST_F(RegDirValues, BytesRoundTripAndAnyTypeReadsAsItsRawData) {
  Pooled<ArrayU08> bytes(ArrayU08::create());
  for (int i = 0; i < 256; ++i) bytes->add(static_cast<std::uint8_t>(255 - i));
  ASSERT_TRUE(key_->setValue(u"Blob", *bytes));
  Pooled<ArrayU08> read(ArrayU08::create());
  ASSERT_TRUE(key_->getValue(u"Blob", *read));
  ASSERT_EQ(read->length(), 256u);
  EXPECT_EQ(read->get(0), 255);
  EXPECT_EQ(read->get(255), 0);

  ASSERT_TRUE(key_->setValue(u"Dword", std::uint32_t{0x11223344}));
  ASSERT_TRUE(key_->getValue(u"Dword", *read));
  ASSERT_EQ(read->length(), 4u);
  EXPECT_EQ(read->get(0), 0x44);  // little-endian
  EXPECT_EQ(read->get(3), 0x11);

  Pooled<ArrayU08> none(ArrayU08::create());
  ASSERT_TRUE(key_->setValue(u"None", *none));
  EXPECT_TRUE(key_->getValue(u"None", *read));
  EXPECT_EQ(read->length(), 0u);
  EXPECT_FALSE(key_->getValue(u"Missing", *read));
}

TEST_F(RegDirValues, ValueNamesIgnoreCaseKeepTheirFirstSpellingAndListInOrder) {
  ASSERT_TRUE(key_->setValue(u"Width", std::int32_t{1}));
  ASSERT_TRUE(key_->setValue(u"", u"default value"));
  ASSERT_TRUE(key_->setValue(u"WIDTH", std::int32_t{2}));
  ASSERT_TRUE(key_->setValue(u"Height", std::int32_t{3}));
  EXPECT_EQ(key_->getValue(u"width", std::int32_t{0}), 2);

  Pooled<StrArray> names(key_->listValueNames());
  ASSERT_EQ(names->length(), 3u);
  EXPECT_EQ(std::u16string(names->get(0)->getText()), u"Width");
  EXPECT_EQ(std::u16string(names->get(1)->getText()), u"");
  EXPECT_EQ(std::u16string(names->get(2)->getText()), u"Height");

  EXPECT_TRUE(key_->deleteValue(u"HEIGHT"));
  EXPECT_FALSE(key_->deleteValue(u"Height"));
  EXPECT_EQ(key_->getValue(u"Height", std::int32_t{-1}), -1);
}

}  // namespace
}  // namespace vonq::test::reg
