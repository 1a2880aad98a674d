#include "host/Host.h"

#include "host/YTMainAppVideoPlayerOverlayViewController.h"
#include "host/YTPlayerView.h"

namespace host {

void registerHostClasses() {
  YTPlayerView::objcClass();
  YTMainAppVideoPlayerOverlayViewController::objcClass();
}

}  // namespace host
