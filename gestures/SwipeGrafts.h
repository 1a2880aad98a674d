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

}  // namespace glidepad
