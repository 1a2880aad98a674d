#include "setup/SavedImplementations.h"

namespace glidepad::saved {

TypedIMP<bool> overlayControllerIsFullscreen;
TypedIMP<void> overlayControllerViewDidLoad;
TypedIMP<id, CGRect> playerViewInitWithFrame;
TypedIMP<void> playerViewDidMoveToWindow;
TypedIMP<void> playerControllerViewDidLoad;
TypedIMP<void, id, float> playerControllerDidSelectRate;
TypedIMP<id, id> controlsOverlayInitWithDelegate;
TypedIMP<void> controlsOverlayLayoutSubviews;

}  // namespace glidepad::saved
