// The rate stepper's grafts on the host: every controls overlay gets a `ZEBStepper` that steps the
// playback rate along its player's rate options, relabelled from its player after every rate
// selection.
#pragma once

#include "objc/objc.h"

class ZEBStepper;

namespace glidepad {

// Posted on the default centre, with no object, after every rate selection a player applies.
inline constexpr const char* kUpdatePlaybackRateNotification = "Glidepad-updatePlaybackRate";

void playerControllerViewDidLoad(const id& self, SEL _cmd);
void playerControllerDidSelectRate(const id& self, SEL _cmd, id varispeedController, float rate);
id controlsOverlayPlaybackRateStepper(const id& self, SEL _cmd);
void controlsOverlaySetPlaybackRateStepper(const id& self, SEL _cmd, id stepper);
id controlsOverlayInitWithDelegate(const id& self, SEL _cmd, id delegate);
void controlsOverlayLayoutSubviews(const id& self, SEL _cmd);
void controlsOverlayUpdatePlaybackRate(const id& self, SEL _cmd);

// The overlay steppers' "+" and "-" callbacks: one stateless pair shared by every overlay. Each
// selects the neighbouring rate option through the player controller of the stepper's own player
// (the last loaded one where the stepper finds none) and shows its title on the tapped stepper;
// the stepper's value is not used.
void stepPlaybackRateUp(const Ref<ZEBStepper>& stepper, float value);
void stepPlaybackRateDown(const Ref<ZEBStepper>& stepper, float value);

}  // namespace glidepad
