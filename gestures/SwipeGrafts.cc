// Placeholder replacements that only reach the host's own behaviour; the swipe handler fills them.
#include "gestures/SwipeGrafts.h"

#include "setup/SavedImplementations.h"

namespace glidepad {

bool overlayControllerIsFullscreen(const id& self, SEL _cmd) {
  return saved::overlayControllerIsFullscreen(self, _cmd);
}

void overlayControllerViewDidLoad(const id& self, SEL _cmd) {
  saved::overlayControllerViewDidLoad(self, _cmd);
}

id playerViewInitWithFrame(const id& self, SEL _cmd, CGRect frame) {
  return saved::playerViewInitWithFrame(self, _cmd, frame);
}

void playerViewGLPGesture(const id&, SEL, id) {}

}  // namespace glidepad
