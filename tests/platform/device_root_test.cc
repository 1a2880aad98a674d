#include <gtest/gtest.h>

#include <string>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "platform/DataTables.h"
#include "platform/DeviceFiles.h"

TEST(DeviceRoot, ResolvesAbsolutePathsInsideTheRootOnly) {
  NSSetDeviceRoot_("");
  EXPECT_EQ(NSDeviceResolvePath_("/var/mobile/a.plist"), "");  // no root: everything refused
  NSSetDeviceRoot_("/srv/device/");
  const auto rows = test::dataRows("paths.txt");
  EXPECT_EQ(rows.size(), 11u);
  for (const auto& row : rows) {
    EXPECT_EQ(NSDeviceResolvePath_(row.at(0)), row.at(1) == "refused" ? "" : row[1]) << row[0];
  }
  NSSetDeviceRoot_("");
}

// A property list right beside the root folder, and a link to it or to its folder inside.
TEST(DeviceRoot, FoundationFilesNeverLeaveTheRootByDotsOrLinks) {
  test::TempDeviceRoot root;
  std::string outside = root.path() + "-outside";
  std::filesystem::create_directories(outside);
  test::Plist list = test::dictionaryWith("k", plist_new_bool(1));
  const std::string original = test::serialized(list, test::PlistFormat::Xml);
  std::ofstream(outside + "/a.plist") << original;
  std::filesystem::create_symlink(outside + "/a.plist", root.hostPath("/file/a.plist"));
  std::filesystem::create_symlink(outside, root.path() + "/folder");
  auto dictionary = alloc_init<NSMutableDictionary>();
  dictionary->setObject(NSNumber::numberWithLongLong(1), NSStr("k"));
  std::string escape = "/../" + std::filesystem::path(outside).filename().string() + "/a.plist";
  // A machine path is a device path inside the root.
  for (std::string path : {escape, outside + "/a.plist", std::string("/file/a.plist"),
                           std::string("/folder/a.plist")}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(alloc<NSDictionary>()->initWithContentsOfFile(NSStr(path)), nullptr);
    EXPECT_FALSE(dictionary->writeToFile(NSStr(path), YES));
    EXPECT_FALSE(dictionary->writeToFile(NSStr(path), NO));
  }
  EXPECT_NE(NSDeviceWriteFile_("/folder/a.plist", "x").find(" is a symbolic link"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::is_symlink(root.path() + "/file/a.plist"));
  EXPECT_EQ(test::dataFile(outside + "/a.plist"), original) << "the file outside is as it was";
  std::filesystem::remove_all(outside);
  // The same name inside the root is fine.
  root.hostPath("/var/x/a.plist");
  EXPECT_TRUE(dictionary->writeToFile(NSStr("/var/x/a.plist"), YES));
}
