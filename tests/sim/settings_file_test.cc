#include "sim/SettingsFile.h"

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <fstream>
#include <sstream>

#include "sim/DeviceRoot.h"
#include "sim/KnownSettings.h"

TEST(SettingsFile, KeepsEveryEntryItDoesNotChangeEvenOfAKindFoundationCannotWrite) {
  sim::DeviceRoot device;
  ASSERT_EQ(device.open(""), "");
  plist_t root = plist_new_dict();
  plist_dict_set_item(root, "archive", plist_new_uid(7));
  plist_dict_set_item(root, "topArea", plist_new_uint(2));
  char* bytes = nullptr;
  uint32_t length = 0;
  plist_to_bin(root, &bytes, &length);
  std::ofstream(device.hostPath(sim::kSettingsPath), std::ios::binary).write(bytes, length);
  plist_to_bin_free(bytes);
  plist_free(root);

  sim::SettingValue speed;
  speed.integer = 1000;
  ASSERT_EQ(sim::writeSettingsValue("speed", speed), "");
  ASSERT_EQ(sim::removeSettingsValue("topArea"), "");

  std::stringstream file;
  file << std::ifstream(device.hostPath(sim::kSettingsPath), std::ios::binary).rdbuf();
  std::string written = file.str();
  plist_t read = nullptr;
  plist_from_bin(written.data(), static_cast<uint32_t>(written.size()), &read);
  ASSERT_NE(read, nullptr);
  uint64_t uid = 0, value = 0;
  plist_t archive = plist_dict_get_item(read, "archive");
  ASSERT_EQ(plist_get_node_type(archive), PLIST_UID);
  plist_get_uid_val(archive, &uid);
  plist_get_uint_val(plist_dict_get_item(read, "speed"), &value);
  EXPECT_EQ(uid, 7u);
  EXPECT_EQ(value, 1000u);
  EXPECT_EQ(plist_dict_get_item(read, "topArea"), nullptr);
  plist_free(read);
}
