#include "host/Host.h"

#include "host/YTMainAppControlsOverlayView.h"
#include "host/YTPlayerViewController.h"
#include "host/YTVarispeedSwitchController.h"

namespace host {

void registerHostClasses() {
  YTPlayerViewController::objcClass();
  YTVarispeedSwitchController::objcClass();
  YTVarispeedSwitchControllerOption::objcClass();
  YTMainAppControlsOverlayView::objcClass();
}

}  // namespace host
