#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "platform/DeviceFiles.h"

TEST(DeviceRoot, ResolvesAbsolutePathsInsideTheRootOnly) {
  NSSetDeviceRoot_("");
  EXPECT_EQ(NSDeviceResolvePath_("/var/mobile/a.plist"), "");  // no root: everything refused

  NSSetDeviceRoot_("/srv/device/");
  EXPECT_EQ(NSDeviceResolvePath_("/var/mobile/a.plist"), "/srv/device/var/mobile/a.plist");
  EXPECT_EQ(NSDeviceResolvePath_("//var/./mobile//a.plist/"), "/srv/device/var/mobile/a.plist");
  EXPECT_EQ(NSDeviceResolvePath_("/var/..hidden/a"), "/srv/device/var/..hidden/a");
  EXPECT_EQ(NSDeviceResolvePath_("/var/mobile/..."), "/srv/device/var/mobile/...");
  EXPECT_EQ(NSDeviceResolvePath_("/"), "/srv/device");
  EXPECT_EQ(NSDeviceResolvePath_("/var/../etc/passwd"), "");
  EXPECT_EQ(NSDeviceResolvePath_("/.."), "");
  EXPECT_EQ(NSDeviceResolvePath_("/var/mobile/.."), "");
  EXPECT_EQ(NSDeviceResolvePath_("/a/b/../../../x"), "");
  EXPECT_EQ(NSDeviceResolvePath_("var/mobile/a.plist"), "");
  EXPECT_EQ(NSDeviceResolvePath_("../a.plist"), "");
  EXPECT_EQ(NSDeviceResolvePath_(""), "");
  EXPECT_EQ(NSDeviceResolvePath_(std::string_view("/var/a\0/../../x", 15)), "");
  NSSetDeviceRoot_("");
}

TEST(DeviceRoot, FoundationFilesNeverLeaveTheRoot) {
  test::TempDeviceRoot root;
  // A property list right beside the root folder, which a ".." would reach.
  std::string outside = root.path() + "-outside.plist";
  {
    test::Plist list = test::dictionaryWith("k", plist_new_bool(1));
    std::ofstream(outside) << test::serialized(list, test::PlistFormat::Xml);
  }
  std::string escape = "/../" + std::filesystem::path(outside).filename().string();
  EXPECT_EQ(alloc<NSDictionary>()->initWithContentsOfFile(NSStr(escape)), nullptr);
  EXPECT_EQ(alloc<NSDictionary>()->initWithContentsOfFile(NSStr(outside)), nullptr)
      << "a machine path is a device path inside the root";

  std::filesystem::remove(outside);
  auto dictionary = alloc_init<NSMutableDictionary>();
  dictionary->setObject(NSNumber::numberWithLongLong(1), NSStr("k"));
  EXPECT_FALSE(dictionary->writeToFile(NSStr(escape), YES));
  EXPECT_FALSE(dictionary->writeToFile(NSStr(escape), NO));
  EXPECT_FALSE(std::filesystem::exists(outside));

  // The same name inside the root is fine.
  root.hostPath("/var/x/inside.plist");
  EXPECT_TRUE(dictionary->writeToFile(NSStr("/var/x/inside.plist"), YES));
  EXPECT_TRUE(std::filesystem::exists(root.path() + "/var/x/inside.plist"));
}

TEST(DeviceRoot, FoundationFilesAreNeverReachedThroughALink) {
  test::TempDeviceRoot root;
  std::string outside = root.path() + "-outside";
  std::filesystem::create_directories(outside);
  test::Plist list = test::dictionaryWith("k", plist_new_bool(1));
  const std::string original = test::serialized(list, test::PlistFormat::Xml);
  std::ofstream(outside + "/a.plist") << original;
  // A link at the file itself, and one at a folder on the way to it.
  std::filesystem::create_symlink(outside + "/a.plist", root.hostPath("/file/a.plist"));
  std::filesystem::create_symlink(outside, root.path() + "/folder");
  auto dictionary = alloc_init<NSMutableDictionary>();
  dictionary->setObject(NSNumber::numberWithLongLong(1), NSStr("k"));
  for (const char* path : {"/file/a.plist", "/folder/a.plist"}) {
    EXPECT_EQ(alloc<NSDictionary>()->initWithContentsOfFile(NSStr(path)), nullptr) << path;
    EXPECT_FALSE(dictionary->writeToFile(NSStr(path), YES)) << path;
    EXPECT_FALSE(dictionary->writeToFile(NSStr(path), NO)) << path;
    EXPECT_NE(NSDeviceWriteFile_(path, "x").find(" is a symbolic link"), std::string::npos);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(root.path() + "/file/a.plist"));
  std::stringstream after;
  after << std::ifstream(outside + "/a.plist").rdbuf();
  EXPECT_EQ(after.str(), original) << "the file outside is as it was";
  std::filesystem::remove_all(outside);
}
