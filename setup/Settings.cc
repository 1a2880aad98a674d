#include "setup/Settings.h"

#include <array>

#include "CoreFoundation/CFNotificationCenter.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "objc/message.h"

namespace glidepad {

namespace {

// A value the conversion does not apply to (an array, a dictionary, data, a date) counts as
// absent: sending it the conversion would raise at every launch of the host.
id convertibleValue(const Ref<NSDictionary>& settings, const char* key, SEL conversion) {
  if (!settings) return nullptr;
  id value = settings->objectForKey(NSStr(key));
  if (!value || !value->respondsToSelector(conversion)) return nullptr;
  return value;
}

bool boolSetting(const Ref<NSDictionary>& settings, const char* key, bool fallback) {
  id value = convertibleValue(settings, key, selector<"boolValue">());
  return value ? objc_msgSend<bool>(value, selector<"boolValue">()) : fallback;
}

int intSetting(const Ref<NSDictionary>& settings, const char* key, int fallback) {
  id value = convertibleValue(settings, key, selector<"intValue">());
  return value ? objc_msgSend<int>(value, selector<"intValue">()) : fallback;
}

float floatSetting(const Ref<NSDictionary>& settings, const char* key, float fallback) {
  id value = convertibleValue(settings, key, selector<"floatValue">());
  return value ? objc_msgSend<float>(value, selector<"floatValue">()) : fallback;
}

void settingsChanged(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
  loadSettings();
}

}  // namespace

using namespace settings;

bool enabledSwitch = booleanDefault(kEnabledSwitchRow);
int speed = integerDefault(kSpeedRow);
int activateAfter = integerDefault(kActivateAfterRow);
int topArea = integerDefault(kTopAreaRow);
int bottomArea = integerDefault(kBottomAreaRow);
bool showPlaybackRate = booleanDefault(kShowPlaybackRateRow);
bool showFeedback = booleanDefault(kShowFeedbackRow);
bool haptics = booleanDefault(kHapticsRow);
int deadZone = integerDefault(kDeadZoneRow);
bool fullscreenOnly = booleanDefault(kFullscreenOnlyRow);
int volumeSpeed = integerDefault(kVolumeSpeedRow);
int brightnessSpeed = integerDefault(kBrightnessSpeedRow);
int seekSpeed = integerDefault(kSeekSpeedRow);
bool restoreBrightness = booleanDefault(kRestoreBrightnessRow);
int doubleTapSeek = integerDefault(kDoubleTapSeekRow);
float holdRate = decimalDefault(kHoldRateRow);

namespace {

// Where each row of the table is stored, by the row's kind.
struct Destination {
  bool* boolean;
  int* integer;
  float* decimal;
};
constexpr std::array<Destination, kKeys.size()> destinations() {
  std::array<Destination, kKeys.size()> into{};
  into[kEnabledSwitchRow].boolean = &enabledSwitch;
  into[kSpeedRow].integer = &speed;
  into[kActivateAfterRow].integer = &activateAfter;
  into[kTopAreaRow].integer = &topArea;
  into[kBottomAreaRow].integer = &bottomArea;
  into[kShowPlaybackRateRow].boolean = &showPlaybackRate;
  into[kShowFeedbackRow].boolean = &showFeedback;
  into[kHapticsRow].boolean = &haptics;
  into[kDeadZoneRow].integer = &deadZone;
  into[kFullscreenOnlyRow].boolean = &fullscreenOnly;
  into[kVolumeSpeedRow].integer = &volumeSpeed;
  into[kBrightnessSpeedRow].integer = &brightnessSpeed;
  into[kSeekSpeedRow].integer = &seekSpeed;
  into[kRestoreBrightnessRow].boolean = &restoreBrightness;
  into[kDoubleTapSeekRow].integer = &doubleTapSeek;
  into[kHoldRateRow].decimal = &holdRate;
  for (size_t row = 0; row < kKeys.size(); ++row) {
    bool stored = kKeys[row].kind == Kind::Boolean   ? into[row].boolean != nullptr
                  : kKeys[row].kind == Kind::Integer ? into[row].integer != nullptr
                                                     : into[row].decimal != nullptr;
    if (!stored) throw "a row without its value";
    if (const char* other = kKeys[row].fallbackKey) {
      auto read = indexOf(other);
      if (!read || *read >= row || !into[*read].integer) throw "a fallback key not read before";
    }
  }
  return into;
}
constexpr auto kDestinations = destinations();

}  // namespace

void loadSettings() {
  auto settings = objc_cast<NSDictionary>(
      alloc<NSMutableDictionary>()->initWithContentsOfFile(NSStr(kSettingsPath)));
  for (size_t i = 0; i < kKeys.size(); ++i) {
    const Key& key = kKeys[i];
    const Destination& into = kDestinations[i];
    if (into.boolean) {
      *into.boolean = boolSetting(settings, key.name, key.fallback != 0);
    } else if (into.decimal) {
      *into.decimal = floatSetting(settings, key.name, static_cast<float>(key.fallback));
    } else {
      int fallback = key.fallbackKey ? *kDestinations[*indexOf(key.fallbackKey)].integer
                                     : static_cast<int>(key.fallback);
      *into.integer = intSetting(settings, key.name, fallback);
    }
  }
}

void registerForSettingsChanges() {
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr,
                                  &settingsChanged, NSStr(kChangeNotification).get(), nullptr,
                                  CFNotificationSuspensionBehavior(0));
}

}  // namespace glidepad
