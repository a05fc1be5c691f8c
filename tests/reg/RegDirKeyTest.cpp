// The key tree: paths and roots, creation with missing parents, removal,
// listing, renaming and handles on deleted keys.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "col/_array/ArrayP.h"
#include "os/RegistryStore.h"
#include "reg/RegTestSupport.h"
#include "reg/win/RegDir.h"

namespace vonq::test::reg {
namespace {

using s::col::_array::ArrayP;
using s::os::RegRoot;
using s::reg::IRegDir;
using s::reg::win::RegDir;

struct Releaser {
  void operator()(s::thread::IPoolable* object) const {
    if (object != nullptr) object->release();
  }
};
template <class T>
using Pooled = std::unique_ptr<T, Releaser>;

Pooled<RegDir> key(std::uint32_t root, const char16_t* path) {
  Pooled<RegDir> dir(RegDir::create());
  dir->openRootPath(root, path);
  return dir;
}

Pooled<RegDir> userKey(const char16_t* path) {
  return key(RegRoot::kCurrentUser, path);
}

std::vector<std::u16string> names(ArrayP* list) {
  std::vector<std::u16string> out;
  for (std::uint32_t i = 0; i < list->length(); ++i)
    out.emplace_back(list->getAs<RegDir>(i)->getName());
  list->release();
  return out;
}

using RegDirKeys = StoreTest;

TEST_F(RegDirKeys, SetFromTextPicksTheRootOrFallsBackToInvalidKey) {
  struct Case {
    const char16_t* text;
    std::uint32_t root;
    std::u16string path;
    std::u16string display;
    std::u16string native;
  };
  const std::u16string user = userPrefix();
  const Case cases[] = {
      {u"HKEY_LOCAL_MACHINE\\Software\\Vonq", RegRoot::kLocalMachine, u"Software\\Vonq",
       u"HKEY_LOCAL_MACHINE\\Software\\Vonq", u"\\Registry\\Machine\\Software\\Vonq"},
      {u"hkey_current_user\\Software\\\\", RegRoot::kCurrentUser, u"Software",
       u"HKEY_CURRENT_USER\\Software", user + u"\\Software"},
      {u"HKEY_CLASSES_ROOT\\.txt", RegRoot::kClassesRoot, u".txt", u"HKEY_CLASSES_ROOT\\.txt",
       u"\\Registry\\Machine\\SOFTWARE\\Classes\\.txt"},
      {u"HKEY_USERS\\S-1-5-18", RegRoot::kUsers, u"S-1-5-18", u"HKEY_USERS\\S-1-5-18",
       u"\\Registry\\User\\S-1-5-18"},
      {u"HKEY_CURRENT_CONFIG\\System", RegRoot::kCurrentConfig, u"System",
       u"HKEY_CURRENT_CONFIG\\System",
       u"\\Registry\\Machine\\System\\CurrentControlSet\\Hardware Profiles\\Current\\System"},
      {u"Software\\Vonq", RegRoot::kCurrentUser, u"InvalidKey", u"HKEY_CURRENT_USER\\InvalidKey",
       user + u"\\InvalidKey"},
      {u"HKEY_USERSX\\a", RegRoot::kCurrentUser, u"InvalidKey", u"HKEY_CURRENT_USER\\InvalidKey",
       user + u"\\InvalidKey"},
      {u"HKEY_LOCAL_MACHINE", RegRoot::kCurrentUser, u"InvalidKey",
       u"HKEY_CURRENT_USER\\InvalidKey", user + u"\\InvalidKey"},
  };
  Pooled<RegDir> dir(RegDir::create());
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.display.begin(), c.display.end()));
    dir->setFromText(c.text);
    EXPECT_EQ(dir->getRoot(), c.root);
    EXPECT_EQ(std::u16string(dir->getPath()), c.path);
    EXPECT_EQ(std::u16string(dir->getDisplayPath()), c.display);
    EXPECT_EQ(std::u16string(dir->getNativePath()), c.native);
  }
  EXPECT_EQ(user, u"\\Registry\\User\\S-1-22-1-" + u16(std::to_string(::getuid())));
}

TEST_F(RegDirKeys, AnUnknownRootReachesNoKeyOfTheRootBefore) {
  Pooled<RegDir> dir = key(RegRoot::kLocalMachine, u"Software");
  ASSERT_TRUE(dir->createKey());
  dir->setRoot(0x80000004u);  // HKEY_PERFORMANCE_DATA: not kept here
  EXPECT_EQ(dir->getRoot(), 0x80000004u);
  EXPECT_FALSE(dir->openPath(u"Software"));
  EXPECT_FALSE(dir->createKey());
  EXPECT_FALSE(dir->setValue(u"v", std::int32_t{1}));
  EXPECT_EQ(key(RegRoot::kLocalMachine, u"Software")->getValueSize(u"v"), 0u);
}

TEST_F(RegDirKeys, RootsThatNameTheSameKeyShareIt) {
  ASSERT_TRUE(userKey(u"Software\\Shared")->setValue(u"v", std::int32_t{42}));
  const std::u16string viaUsers = u"HKEY_USERS\\" + store().currentUserId() + u"\\Software\\Shared";
  Pooled<RegDir> dir(RegDir::create());
  ASSERT_TRUE(dir->setFromText(viaUsers.c_str()));
  EXPECT_EQ(dir->getValue(u"v", std::int32_t{0}), 42);

  ASSERT_TRUE(key(RegRoot::kClassesRoot, u".vonq")->setValue(u"", u"VonqFile"));
  EXPECT_TRUE(key(RegRoot::kLocalMachine, u"SOFTWARE\\Classes\\.vonq")->exists());
}

TEST_F(RegDirKeys, CreateMakesMissingParentAndGrandparent) {
  Pooled<RegDir> leaf = userKey(u"Software\\Missing\\Middle\\Leaf");
  EXPECT_FALSE(leaf->exists());
  EXPECT_FALSE(userKey(u"Software\\Missing")->exists());
  ASSERT_TRUE(leaf->createKey());
  EXPECT_TRUE(userKey(u"Software\\Missing")->exists());
  EXPECT_TRUE(userKey(u"Software\\Missing\\Middle")->exists());
  EXPECT_TRUE(leaf->exists());

  // A setter on a missing key creates it the same way.
  ASSERT_TRUE(userKey(u"Software\\Other\\Deep")->setValue(u"v", true));
  EXPECT_TRUE(userKey(u"Software\\Other\\Deep")->getValue(u"v", false));

  // A name that cannot be a key (too long) fails; parents made on the way stay.
  const std::u16string tooLong = u"Software\\Third\\" + std::u16string(256, u'k');
  EXPECT_FALSE(userKey(tooLong.c_str())->createKey());
  EXPECT_FALSE(userKey(tooLong.c_str())->setValue(u"v", 1));
  EXPECT_TRUE(userKey(u"Software\\Third")->exists());
}

TEST_F(RegDirKeys, RemoveWithoutSelfKeepsTheKeyAndItsValues) {
  Pooled<RegDir> top = userKey(u"Software\\Tree");
  ASSERT_TRUE(top->setValue(u"Kept", std::int32_t{1}));
  ASSERT_TRUE(userKey(u"Software\\Tree\\A")->setValue(u"x", std::int32_t{2}));
  ASSERT_TRUE(userKey(u"Software\\Tree\\A\\A1\\A2")->setValue(u"y", std::int32_t{3}));
  ASSERT_TRUE(userKey(u"Software\\Tree\\B")->createKey());

  EXPECT_TRUE(top->remove(false));
  EXPECT_TRUE(top->exists());
  EXPECT_EQ(top->getValue(u"Kept", std::int32_t{0}), 1);
  EXPECT_TRUE(names(top->listSubkeys()).empty());
  EXPECT_FALSE(userKey(u"Software\\Tree\\A\\A1")->exists());

  ASSERT_TRUE(userKey(u"Software\\Tree\\C\\C1")->createKey());
  EXPECT_TRUE(top->remove(true));
  EXPECT_FALSE(userKey(u"Software\\Tree")->exists());
  EXPECT_FALSE(top->remove(true));  // nothing left to remove
  EXPECT_TRUE(userKey(u"Software")->exists());
}

TEST_F(RegDirKeys, PredefinedRootKeysCannotBeRemovedOrRenamed) {
  ASSERT_TRUE(userKey(u"Software\\X")->createKey());
  Pooled<RegDir> root = userKey(u"");
  EXPECT_EQ(std::u16string(root->getNativePath()), userPrefix());
  EXPECT_FALSE(root->rename(u"Elsewhere"));
  EXPECT_FALSE(root->remove(true));  // its subkeys go, the root key stays
  EXPECT_TRUE(root->exists());
  EXPECT_FALSE(userKey(u"Software")->exists());
}

TEST_F(RegDirKeys, SubkeysListInNameOrderAndFilterByPrefixIgnoringCase) {
  for (const char16_t* name : {u"beta", u"Alpha", u"alphabet", u"Gamma", u"ALP"}) {
    ASSERT_TRUE(userKey((u"Software\\List\\" + std::u16string(name)).c_str())->createKey());
  }
  Pooled<RegDir> list = userKey(u"Software\\List");
  EXPECT_EQ(names(list->listSubkeys()),
            (std::vector<std::u16string>{u"ALP", u"Alpha", u"alphabet", u"beta", u"Gamma"}));
  EXPECT_EQ(names(list->listSubkeysWithPrefix(u"alpha")),
            (std::vector<std::u16string>{u"Alpha", u"alphabet"}));

  ArrayP* subkeys = list->listSubkeysWithPrefix(u"GAM");
  ASSERT_EQ(subkeys->length(), 1u);
  EXPECT_EQ(std::u16string(subkeys->getAs<RegDir>(0)->getPath()), u"Software\\List\\Gamma");
  EXPECT_TRUE(subkeys->getAs<RegDir>(0)->exists());
  subkeys->release();

  EXPECT_TRUE(names(userKey(u"Software\\Nowhere")->listSubkeys()).empty());
}

TEST_F(RegDirKeys, ParentIsThePathUpToTheLastBackslash) {
  Pooled<RegDir> leaf = userKey(u"Software\\P\\Q");
  Pooled<IRegDir> parent(leaf->getParent());
  ASSERT_NE(parent, nullptr);
  EXPECT_EQ(std::u16string(parent->getPath()), u"Software\\P");
  EXPECT_EQ(parent->getRoot(), RegRoot::kCurrentUser);
  EXPECT_EQ(std::u16string(leaf->getName()), u"Q");
  EXPECT_EQ(userKey(u"Software")->getParent(), nullptr);
}

TEST_F(RegDirKeys, RenameMovesValuesAndSubkeysButNotOntoASibling) {
  ASSERT_TRUE(userKey(u"Software\\R\\Old\\Sub")->setValue(u"v", std::int32_t{5}));
  ASSERT_TRUE(userKey(u"Software\\R\\Taken")->createKey());
  Pooled<RegDir> old = userKey(u"Software\\R\\Old");
  EXPECT_FALSE(old->rename(u"TAKEN"));
  EXPECT_FALSE(old->rename(u"bad\\name"));
  EXPECT_TRUE(old->exists());

  EXPECT_TRUE(old->rename(u"New"));
  EXPECT_EQ(std::u16string(old->getPath()), u"Software\\R\\Old");  // the path is kept
  EXPECT_FALSE(old->exists());
  EXPECT_EQ(userKey(u"Software\\R\\New\\Sub")->getValue(u"v", std::int32_t{0}), 5);
}

TEST_F(RegDirKeys, AHandleOnADeletedKeyNeverReachesAnotherKey) {
  Pooled<RegDir> held = userKey(u"Software\\Gone");
  ASSERT_TRUE(held->createKey());
  ASSERT_TRUE(userKey(u"Software\\Gone")->remove(true));
  ASSERT_TRUE(userKey(u"Software\\Fresh")->createKey());  // may take the freed storage

  EXPECT_FALSE(held->setValue(u"v", std::int32_t{1}));
  EXPECT_FALSE(held->flushKey());
  EXPECT_EQ(userKey(u"Software\\Fresh")->getValueSize(u"v"), 0u);
  EXPECT_FALSE(held->exists());
  EXPECT_TRUE(held->createKey());  // a fresh handle recreates it
  EXPECT_TRUE(held->setValue(u"v", std::int32_t{1}));
}

TEST_F(RegDirKeys, TotalSizeSumsValuesAndCountsKeys) {
  ASSERT_TRUE(userKey(u"Software\\T")->setValue(u"a", std::int32_t{1}));         // 4
  ASSERT_TRUE(userKey(u"Software\\T")->setValue(u"b", std::int64_t{1}));         // 8
  ASSERT_TRUE(userKey(u"Software\\T\\S")->setValue(u"c", u"xy"));                // 6
  ASSERT_TRUE(userKey(u"Software\\T\\S\\S2")->setValue(u"d", std::uint8_t{1}));  // 4
  ASSERT_TRUE(userKey(u"Software\\T\\E")->createKey());

  std::uint32_t values = 0;
  std::uint32_t keys = 0;
  EXPECT_EQ(userKey(u"Software\\T")->totalSize(true, &values, &keys, true), 22u);
  EXPECT_EQ(values, 4u);
  EXPECT_EQ(keys, 3u);

  values = keys = 0;
  EXPECT_EQ(userKey(u"Software\\T")->totalSize(false, &values, &keys, true), 12u);
  EXPECT_EQ(values, 2u);
  EXPECT_EQ(keys, 2u);
  EXPECT_EQ(userKey(u"Software\\T")->totalSize(true, nullptr, nullptr, false), 0u);
}

}  // namespace
}  // namespace vonq::test::reg
