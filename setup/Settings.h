// The user settings, read from the settings pane's property list and reloaded whenever the
// pane posts its change notification. Each value is written only by `loadSettings`.
// The keys, their defaults and the file's path are rows of setup/SettingsTable.h.
#pragma once

#include "setup/SettingsTable.h"

namespace glidepad {

inline constexpr const char* kSettingsPath = settings::kPath;
inline constexpr const char* kSettingsIdentifier = settings::kIdentifier;

extern bool enabledSwitch;      // master switch for all grafts; read at load only
extern int speed;               // swipe speed factor
extern int activateAfter;       // swipe activation threshold, in points
extern int topArea;             // action code for swipes that begin in the upper half
extern int bottomArea;          // action code for swipes that begin in the lower half
extern bool showPlaybackRate;   // switch for the rate stepper; read at load only
extern bool showFeedback;       // the feedback view while swiping; read as each swipe begins
extern bool haptics;            // a haptic tick per step; read at each step
extern int deadZone;            // points from the edges where no swipe starts; read at touch-down
extern bool fullscreenOnly;     // swipes step only in fullscreen; read as each swipe begins
extern int volumeSpeed;         // the speed factor of each kind of swipe, `speed` when absent
extern int brightnessSpeed;     //
extern int seekSpeed;           //
extern bool restoreBrightness;  // brightness back when a player's view leaves the window
extern int doubleTapSeek;       // seek steps of a double tap at a side, 0 for none; at touch-down
extern float holdRate;  // the rate while a finger is held, 0 (or NaN) for none; at touch-down

// Fills the values from the settings file, each key falling back to its default (or to the value
// of its fallback key, read before it), in the table's order.
void loadSettings();

// Subscribes `loadSettings` to the settings-change notification; called once at load.
void registerForSettingsChanges();

}  // namespace glidepad
