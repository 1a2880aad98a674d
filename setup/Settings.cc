#include "setup/Settings.h"

namespace glidepad {

bool enabledSwitch = true;
int speed = 250;
int activateAfter = 70;
int topArea = 1;
int bottomArea = 3;
bool showPlaybackRate = true;

void loadSettings() {}

void registerForSettingsChanges() {}

}  // namespace glidepad
