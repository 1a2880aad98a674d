// Views made as the host app makes them, and what the library attached to them.
#pragma once

#include "UIKit/UIWindow.h"
#include "gestures/GLPInsideViewGesture.h"
#include "host/App.h"
#include "stepper/ZEBStepper.h"

namespace support {

Ref<UIWindow> makeWindow(CGRect frame);
// Through the runtime, as the host app makes them, so that the grafted initialiser runs.
Ref<host::YTPlayerView> makePlayerView(CGRect frame);

Ref<GLPInsideViewGesture> swipeRecognizerOf(const Ref<UIView>& view);
Ref<GLPInsideViewGesture> swipeRecognizerOf(const host::Player& player);
Ref<ZEBStepper> stepperOf(const host::Player& player);
// Any of the swipe kinds that all player views share is set.
bool anySwipeKind();

}  // namespace support
