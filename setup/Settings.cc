#include "setup/Settings.h"

#include "CoreFoundation/CFNotificationCenter.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "objc/message.h"

namespace glidepad {

namespace {

constexpr bool kDefaultEnabledSwitch = true;
constexpr int kDefaultSpeed = 250;
constexpr int kDefaultActivateAfter = 70;
constexpr int kDefaultTopArea = 1;
constexpr int kDefaultBottomArea = 3;
constexpr bool kDefaultShowPlaybackRate = true;

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

void settingsChanged(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
  loadSettings();
}

}  // namespace

bool enabledSwitch = kDefaultEnabledSwitch;
int speed = kDefaultSpeed;
int activateAfter = kDefaultActivateAfter;
int topArea = kDefaultTopArea;
int bottomArea = kDefaultBottomArea;
bool showPlaybackRate = kDefaultShowPlaybackRate;

void loadSettings() {
  auto settings = objc_cast<NSDictionary>(
      alloc<NSMutableDictionary>()->initWithContentsOfFile(NSStr(kSettingsPath)));
  enabledSwitch = boolSetting(settings, "enabledSwitch", kDefaultEnabledSwitch);
  speed = intSetting(settings, "speed", kDefaultSpeed);
  activateAfter = intSetting(settings, "activateAfter", kDefaultActivateAfter);
  topArea = intSetting(settings, "topArea", kDefaultTopArea);
  bottomArea = intSetting(settings, "bottomArea", kDefaultBottomArea);
  showPlaybackRate = boolSetting(settings, "showPlaybackRate", kDefaultShowPlaybackRate);
}

void registerForSettingsChanges() {
  auto name = NSString::stringWithFormat("%@.prefs-changed", NSStr(kSettingsIdentifier));
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr,
                                  &settingsChanged, name.get(), nullptr,
                                  CFNotificationSuspensionBehavior(0));
}

}  // namespace glidepad
