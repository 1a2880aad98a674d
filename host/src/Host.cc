#include "host/Host.h"

#include "host/YTMainAppControlsOverlayView.h"
#include "host/YTMainAppVideoPlayerOverlayViewController.h"
#include "host/YTPlayerView.h"
#include "host/YTPlayerViewController.h"
#include "host/YTVarispeedSwitchController.h"

namespace host {

void registerHostClasses() {
  YTMainAppVideoPlayerOverlayViewController::objcClass();
  YTPlayerView::objcClass();
  YTPlayerViewController::objcClass();
  YTVarispeedSwitchController::objcClass();
  YTVarispeedSwitchControllerOption::objcClass();
  YTMainAppControlsOverlayView::objcClass();
}

}  // namespace host
