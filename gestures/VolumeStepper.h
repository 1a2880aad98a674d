// Stepping the system output volume. The volume is reached only through the slider inside a
// hidden volume view, made at the first step and kept, with its slider, for the life of the
// process.
#pragma once

#include "MediaPlayer/MPVolumeView.h"
#include "UIKit/UISlider.h"

namespace glidepad {

extern Ref<MPVolumeView> volumeView;
extern Ref<UISlider> volumeSlider;  // looked for in volumeView's subviews until found

// Asks for one volume step of 0.02, up or down, applied 10 ms later on the main queue to the
// slider's value as it is then. A step asked by a swipe on `playerView` is reported to the
// feedback hooks as it is asked and as it lands; the view is held weakly meanwhile.
void changeVolumeUp(bool up, const id& playerView = nullptr);

}  // namespace glidepad
