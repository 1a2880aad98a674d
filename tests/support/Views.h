// Views made as the host app makes them, and what the library attached to them.
#pragma once

#include "gestures/GLPInsideViewGesture.h"
#include "host/App.h"
#include "stepper/ZEBStepper.h"

namespace support {

Ref<UIWindow> makeWindow(CGRect frame);
// Through the runtime, as the host app makes them, so that the grafted initialiser runs.
Ref<host::YTPlayerView> makePlayerView(CGRect frame);

Ref<GLPInsideViewGesture> swipeRecognizerOf(const Ref<UIView>& view);
Ref<ZEBStepper> stepperOf(const host::Player& player);
// Any of the swipe kinds that all player views share is set.
bool anySwipeKind();

// A view's centre in the points of a window, wherever the view is.
CGPoint centreInWindow(const Ref<UIView>& view, const Ref<UIWindow>& window);

}  // namespace support
