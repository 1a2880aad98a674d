// The host's own implementations of the members the system replaces, one slot per member.
// Filled once at load by the initialiser; each replacement reaches the host's behaviour only
// through its slot, calling it with the receiver, selector and arguments unchanged.
#pragma once

#include "CoreGraphics/CGGeometry.h"
#include "objc/encoding.h"

namespace glidepad::saved {

extern TypedIMP<bool> overlayControllerIsFullscreen;
extern TypedIMP<void> overlayControllerViewDidLoad;
extern TypedIMP<id, CGRect> playerViewInitWithFrame;
extern TypedIMP<void> playerViewDidMoveToWindow;
extern TypedIMP<void> playerControllerViewDidLoad;
extern TypedIMP<void, id, float> playerControllerDidSelectRate;
extern TypedIMP<id, id> controlsOverlayInitWithDelegate;
extern TypedIMP<void> controlsOverlayLayoutSubviews;

}  // namespace glidepad::saved
