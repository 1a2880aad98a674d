#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "setup/Settings.h"
#include "setup/SettingsFile.h"

namespace {

using test::PlistFormat;

struct Values {
  bool enabledSwitch;
  int speed;
  int activateAfter;
  int topArea;
  int bottomArea;
  bool showPlaybackRate;
  friend bool operator==(const Values&, const Values&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Values& v) {
    return out << "{enabledSwitch " << v.enabledSwitch << ", speed " << v.speed
               << ", activateAfter " << v.activateAfter << ", topArea " << v.topArea
               << ", bottomArea " << v.bottomArea << ", showPlaybackRate " << v.showPlaybackRate
               << "}";
  }
};

constexpr Values kDefaults{true, 250, 70, 1, 3, true};

// Loads after filling every value with something no load gives, so that each value the load
// leaves alone shows.
Values load() {
  glidepad::enabledSwitch = false;
  glidepad::speed = glidepad::activateAfter = glidepad::topArea = glidepad::bottomArea = -999;
  glidepad::showPlaybackRate = false;
  glidepad::loadSettings();
  return {glidepad::enabledSwitch, glidepad::speed,      glidepad::activateAfter,
          glidepad::topArea,       glidepad::bottomArea, glidepad::showPlaybackRate};
}

}  // namespace

TEST(Settings, EveryKeyTakesEachKindOfValueOrItsDefault) {
  test::TempDeviceRoot root;
  EXPECT_EQ(load(), kDefaults) << "no file";

  const char data[] = {1, 2};
  struct Kind {
    const char* name;
    std::function<plist_t()> make;
    std::optional<int> intValue;    // none: counts as absent
    std::optional<bool> boolValue;  // none: counts as absent
  };
  const Kind kinds[] = {
      {"true", [] { return plist_new_bool(1); }, 1, true},
      {"false", [] { return plist_new_bool(0); }, 0, false},
      {"integer 100", [] { return plist_new_uint(100); }, 100, true},
      {"integer 0", [] { return plist_new_uint(0); }, 0, false},
      {"integer -5", [] { return plist_new_uint(static_cast<uint64_t>(-5)); }, -5, true},
      {"integer 2^32 + 7", [] { return plist_new_uint((uint64_t{1} << 32) + 7); }, 7, true},
      {"real 2.9", [] { return plist_new_real(2.9); }, 2, true},
      {"real 0.5", [] { return plist_new_real(0.5); }, 0, true},
      {"real -1e12", [] { return plist_new_real(-1e12); }, INT_MIN, true},
      {"string 42", [] { return plist_new_string("42"); }, 42, true},
      {"string ' -7px'", [] { return plist_new_string(" -7px"); }, -7, true},
      {"string NO", [] { return plist_new_string("NO"); }, 0, false},
      {"string yes", [] { return plist_new_string("yes"); }, 0, true},
      {"empty string", [] { return plist_new_string(""); }, 0, false},
      {"array",
       [] {
         plist_t array = plist_new_array();
         plist_array_append_item(array, plist_new_uint(1));
         return array;
       },
       std::nullopt, std::nullopt},
      {"dictionary",
       [] {
         plist_t dictionary = plist_new_dict();
         plist_dict_set_item(dictionary, "speed", plist_new_uint(1));
         return dictionary;
       },
       std::nullopt, std::nullopt},
      {"data", [&] { return plist_new_data(data, sizeof data); }, std::nullopt, std::nullopt},
      {"date", [] { return plist_new_date(1, 0); }, std::nullopt, std::nullopt},
  };
  const char* keys[] = {"enabledSwitch", "speed",      "activateAfter",
                        "topArea",       "bottomArea", "showPlaybackRate"};
  for (auto format : test::kBothFormats) {
    for (const char* key : keys) {
      for (const auto& kind : kinds) {
        SCOPED_TRACE(std::string(test::nameOf(format)) + ", " + key + ": " + kind.name);
        test::writeSettings(root, format, {{key, kind.make()}});
        Values expected = kDefaults;
        std::string k = key;
        if (k == "enabledSwitch") expected.enabledSwitch = kind.boolValue.value_or(true);
        if (k == "speed") expected.speed = kind.intValue.value_or(250);
        if (k == "activateAfter") expected.activateAfter = kind.intValue.value_or(70);
        if (k == "topArea") expected.topArea = kind.intValue.value_or(1);
        if (k == "bottomArea") expected.bottomArea = kind.intValue.value_or(3);
        if (k == "showPlaybackRate") expected.showPlaybackRate = kind.boolValue.value_or(true);
        EXPECT_EQ(load(), expected);
      }
    }
  }
}

TEST(Settings, EachKeyIsDecidedOnItsOwnAtEveryLoad) {
  test::TempDeviceRoot root;
  for (auto format : test::kBothFormats) {
    SCOPED_TRACE(test::nameOf(format));
    test::writeSettings(root, format, {{"speed", plist_new_uint(100)}});
    EXPECT_EQ(load(), (Values{true, 100, 70, 1, 3, true}));

    // Every key, with ones the loader ignores; values pass without range checks.
    test::writeSettings(root, format,
                        {{"enabledSwitch", plist_new_bool(0)},
                         {"speed", plist_new_uint(0)},
                         {"activateAfter", plist_new_uint(static_cast<uint64_t>(-20))},
                         {"topArea", plist_new_uint(2)},
                         {"bottomArea", plist_new_string("0")},
                         {"showPlaybackRate", plist_new_bool(0)},
                         {"Speed", plist_new_uint(9)},
                         {"unrelated", plist_new_string("x")}});
    EXPECT_EQ(load(), (Values{false, 0, -20, 2, 0, false}));

    // A reload after keys went restores their defaults, not the values before.
    test::writeSettings(root, format,
                        {{"topArea", plist_new_uint(2)}, {"showPlaybackRate", plist_new_bool(0)}});
    EXPECT_EQ(load(), (Values{true, 250, 70, 2, 3, false}));
    root.remove(glidepad::kSettingsPath);
    EXPECT_EQ(load(), kDefaults);
  }
}

TEST(Settings, AFileThatCannotBeReadGivesTheDefaultsWithoutACrash) {
  test::TempDeviceRoot root;
  test::Plist array(plist_new_array());
  plist_array_append_item(array.get(), plist_new_uint(100));
  test::Plist valid = test::dictionaryWith("speed", plist_new_uint(100));
  for (auto format : test::kBothFormats) {
    SCOPED_TRACE(test::nameOf(format));
    std::string good = test::serialized(valid, format);
    root.write(glidepad::kSettingsPath, good);
    ASSERT_EQ(load().speed, 100) << "the control case reads";
    struct Case {
      const char* name;
      std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"cut short", good.substr(0, good.size() / 2)},
        {"garbage", std::string(good.size(), '\xA5')},
        {"an array at the root", test::serialized(array, format)},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      root.write(glidepad::kSettingsPath, c.bytes);
      EXPECT_EQ(load(), kDefaults);
    }
  }
  // The keys, followed by nesting deep enough to overflow libplist's stack: as much as fits in
  // 1 MiB, and a million levels.
  for (size_t depth : {size_t{140000}, size_t{1000000}}) {
    SCOPED_TRACE(depth);
    std::string deep = "<plist><dict><key>speed</key><integer>100</integer><key>x</key>";
    for (size_t i = 0; i < depth; ++i) deep += "<array>";
    root.write(glidepad::kSettingsPath, deep);
    EXPECT_EQ(load(), kDefaults);
  }
  // 64 MiB that starts like a settings file.
  root.write(glidepad::kSettingsPath, "<plist><dict><key>speed</key><integer>100</integer>");
  std::filesystem::resize_file(root.hostPath(glidepad::kSettingsPath), 64 << 20);
  EXPECT_EQ(load(), kDefaults);
}
