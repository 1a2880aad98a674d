// The swipe subsystem's grafts on the host: the player view gets a swipe recognizer and the
// `GLPGesture:` action; the player overlay view controller is captured as the target of seeks.
#pragma once

#include "CoreGraphics/CGGeometry.h"
#include "objc/objc.h"

namespace glidepad {

bool overlayControllerIsFullscreen(const id& self, SEL _cmd);
void overlayControllerViewDidLoad(const id& self, SEL _cmd);
id playerViewInitWithFrame(const id& self, SEL _cmd, CGRect frame);
void playerViewGLPGesture(const id& self, SEL _cmd, id recognizer);
void playerViewDidMoveToWindow(const id& self, SEL _cmd);

// The kind of the swipe under way, one set for the whole process: every player view's recognizer
// reads and writes the same flags. A swipe's begin sets at most one; any swipe's end clears all.
extern bool isVolumeSwipe;
extern bool isBrightnessSwipe;
extern bool isSeekSwipe;
// The overlay controller whose view loaded last: the target of seek steps made on a player view
// that holds no overlay controller's view.
extern id lastOverlayController;

// The overlay controller of the player whose view this is, or `lastOverlayController` where the
// view holds none: the one a seek made on the view goes to.
id overlayControllerOfPlayerView(const id& playerView);

}  // namespace glidepad
