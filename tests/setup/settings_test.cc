#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "setup/Settings.h"
#include "setup/SettingsFile.h"

namespace {

// The values in the order of kKeys; the booleans as 0 or 1.
using Values = std::array<int, 14>;
constexpr const char* kKeys[] = {
    "enabledSwitch",    "speed",           "activateAfter", "topArea",          "bottomArea",
    "showPlaybackRate", "showFeedback",    "haptics",       "deadZone",         "fullscreenOnly",
    "volumeSpeed",      "brightnessSpeed", "seekSpeed",     "restoreBrightness"};
constexpr bool kBoolean[] = {true, false, false, false, false, true,  true,
                             true, false, true,  false, false, false, true};
constexpr Values kDefaults{1, 250, 70, 1, 3, 1, 1, 0, 0, 0, 250, 250, 250, 0};
// The rows whose absence gives the value of `speed` (row 1).
constexpr size_t kSpeedFallbacks[] = {10, 11, 12};

// Loads after filling every value with something no load gives, so that each value the load
// leaves alone shows.
Values load() {
  using namespace glidepad;
  enabledSwitch = showPlaybackRate = showFeedback = false;
  haptics = fullscreenOnly = restoreBrightness = true;
  speed = activateAfter = topArea = bottomArea = deadZone = -999;
  volumeSpeed = brightnessSpeed = seekSpeed = -999;
  loadSettings();
  return {enabledSwitch,    speed,           activateAfter, topArea,          bottomArea,
          showPlaybackRate, showFeedback,    haptics,       deadZone,         fullscreenOnly,
          volumeSpeed,      brightnessSpeed, seekSpeed,     restoreBrightness};
}

}  // namespace

TEST(Settings, EveryKeyTakesEachKindOfValueOrItsDefault) {
  test::TempDeviceRoot root;
  EXPECT_EQ(load(), kDefaults) << "no file";
  const char data[] = {1, 2};
  struct Kind {
    const char* name;
    std::function<plist_t()> make;
    std::optional<int> intValue, boolValue;  // none: counts as absent
  };
  const Kind kinds[] = {
      {"true", [] { return plist_new_bool(1); }, 1, 1},
      {"false", [] { return plist_new_bool(0); }, 0, 0},
      {"integer 0", [] { return plist_new_uint(0); }, 0, 0},
      {"integer -5", [] { return plist_new_uint(static_cast<uint64_t>(-5)); }, -5, 1},
      {"integer 2^32 + 7", [] { return plist_new_uint((uint64_t{1} << 32) + 7); }, 7, 1},
      {"real 2.9", [] { return plist_new_real(2.9); }, 2, 1},
      {"real 0.5", [] { return plist_new_real(0.5); }, 0, 1},
      {"real -1e12", [] { return plist_new_real(-1e12); }, INT_MIN, 1},
      {"string ' -7px'", [] { return plist_new_string(" -7px"); }, -7, 1},
      {"string NO", [] { return plist_new_string("NO"); }, 0, 0},
      {"string yes", [] { return plist_new_string("yes"); }, 0, 1},
      {"empty string", [] { return plist_new_string(""); }, 0, 0},
      {"array", [] { return plist_new_array(); }, std::nullopt, std::nullopt},
      {"dictionary", [] { return plist_new_dict(); }, std::nullopt, std::nullopt},
      {"data", [&] { return plist_new_data(data, sizeof data); }, std::nullopt, std::nullopt},
      {"date", [] { return plist_new_date(1, 0); }, std::nullopt, std::nullopt},
  };
  for (auto format : test::kBothFormats) {
    for (size_t key = 0; key < std::size(kKeys); ++key) {
      for (const auto& kind : kinds) {
        SCOPED_TRACE(std::string(test::nameOf(format)) + ", " + kKeys[key] + ": " + kind.name);
        test::writeSettings(root, format, {{kKeys[key], kind.make()}});
        Values expected = kDefaults;
        expected[key] = (kBoolean[key] ? kind.boolValue : kind.intValue).value_or(kDefaults[key]);
        for (size_t row : kSpeedFallbacks) {
          if (row != key) expected[row] = expected[1];
        }
        EXPECT_EQ(load(), expected);
      }
    }
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
    ASSERT_EQ(load()[1], 100) << "the control case reads";
    for (const std::string& bytes :
         {std::string(), good.substr(0, good.size() / 2), std::string(good.size(), '\xA5'),
          test::serialized(array, format)}) {
      root.write(glidepad::kSettingsPath, bytes);
      EXPECT_EQ(load(), kDefaults) << bytes.size() << " bytes";
    }
  }
}
