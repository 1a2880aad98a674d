// The user settings, read from the settings pane's property list and reloaded whenever the
// pane posts its change notification. Each value is written only by `loadSettings`.
// The keys, their defaults and the file's path are rows of setup/SettingsTable.h.
#pragma once

#include "setup/SettingsTable.h"

namespace glidepad {

inline constexpr const char* kSettingsPath = settings::kPath;
inline constexpr const char* kSettingsIdentifier = settings::kIdentifier;

extern bool enabledSwitch;     // master switch for all grafts; read at load only
extern int speed;              // swipe speed factor
extern int activateAfter;      // swipe activation threshold, in points
extern int topArea;            // action code for swipes that begin in the upper half
extern int bottomArea;         // action code for swipes that begin in the lower half
extern bool showPlaybackRate;  // switch for the rate stepper; read at load only
extern bool showFeedback;      // the feedback view while swiping; read as each swipe begins
extern bool haptics;           // a haptic tick per step; read at each step

// Fills the values from the settings file, each key falling back to its default, in the
// table's order.
void loadSettings();

// Subscribes `loadSettings` to the settings-change notification; called once at load.
void registerForSettingsChanges();

}  // namespace glidepad
