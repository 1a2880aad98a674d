// The rate stepper's grafts on the host: every controls overlay gets a `ZEBStepper` that steps the
// playback rate along the host's rate options, relabelled after every rate selection.
#pragma once

#include "objc/objc.h"

namespace glidepad {

void playerControllerViewDidLoad(const id& self, SEL _cmd);
void playerControllerDidSelectRate(const id& self, SEL _cmd, id varispeedController, float rate);
id controlsOverlayPlaybackRateStepper(const id& self, SEL _cmd);
void controlsOverlaySetPlaybackRateStepper(const id& self, SEL _cmd, id stepper);
id controlsOverlayInitWithDelegate(const id& self, SEL _cmd, id delegate);
void controlsOverlayLayoutSubviews(const id& self, SEL _cmd);
void controlsOverlayUpdatePlaybackRate(const id& self, SEL _cmd);

}  // namespace glidepad
