#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "file/TempFolder.h"
#include "support/FaultyFileSystem.h"
#include "xml/Node.h"
#include "xml/XmlFixtures.h"

namespace {

using vonq::test::decoded;
using vonq::test::newNode;
using vonq::test::OwnedNode;
using vonq::test::readText;
using vonq::test::TempFolder;
using vonq::test::u16;
using vonq::test::writeText;
using vonq::test::xmlOf;

OwnedNode sampleTree() {
  OwnedNode root = newNode();
  root->setName(u"settings");
  root->addChild(u"group")->setAttr(u"name", u"Main \"window\"");
  return root;
}

TEST(XmlFiles, SaveCreatesTheFolderAndLoadReadsTheTreeBack) {
  TempFolder temp;
  const std::string file = temp.at("a/b/settings.xml");
  ASSERT_TRUE(sampleTree()->save(u16(file).c_str()));
  EXPECT_EQ(readText(file),
            "<settings><group name=\"Main &quot;window&quot;\"></group></settings>");
  EXPECT_FALSE(std::filesystem::exists(file + ".new"));

  OwnedNode back = newNode();
  ASSERT_TRUE(back->load(u16(file).c_str()));
  EXPECT_EQ(decoded(*back->getChild(0), u"name"), u"Main \"window\"");
}

TEST(XmlFiles, LoadOfAMissingFileFailsAndLeavesTheNodeEmpty) {
  TempFolder temp;
  OwnedNode node = newNode();
  EXPECT_FALSE(node->load(u16(temp.at("missing.xml")).c_str()));
  EXPECT_EQ(node->getName(), nullptr);
}

TEST(XmlFiles, ASaveThatCannotFinishLeavesTheOldFileAsItWas) {
  TempFolder temp;
  const std::string file = temp.at("settings.xml");
  writeText(file, "<settings old=\"1\"></settings>");
  vonq::test::FaultyFileSystem faulty;
  {
    vonq::test::FaultyFileSystem::Installed installed(faulty);
    faulty.failWritesAfter(10);  // the disk fills during the save
    EXPECT_FALSE(sampleTree()->save(u16(file).c_str()));
    faulty.failWritesAfter(-1);
    faulty.failMoves(true);  // the file cannot be replaced
    EXPECT_FALSE(sampleTree()->save(u16(file).c_str()));
  }
  EXPECT_EQ(readText(file), "<settings old=\"1\"></settings>");
  EXPECT_FALSE(std::filesystem::exists(file + ".new"));
}

}  // namespace
