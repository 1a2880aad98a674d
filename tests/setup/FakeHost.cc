#include "setup/FakeHost.h"

namespace fake {

std::vector<Call> calls;

namespace {

HostOptions options;

void note(const NSObject* receiver, std::string member, id object = nullptr, double number = 0,
          CGRect frame = {}) {
  calls.push_back({std::move(member), receiver, std::move(object), number, frame});
}

}  // namespace

void registerHost(const HostOptions& chosen) {
  options = chosen;
  OverlayController::objcClass();
  PlayerView::objcClass();
  if (!options.withoutPlayerController) PlayerController::objcClass();
  if (!options.withoutControlsOverlay) ControlsOverlay::objcClass();
}

Class OverlayController::objcClass() {
  static Class cls = objc_registerClass(
      "YTMainAppVideoPlayerOverlayViewController", NSObject::objcClass(), [](Class c) {
        objc_exposeMethod<&OverlayController::isFullscreen>(c, "isFullscreen");
        objc_exposeMethod<&OverlayController::viewDidLoad>(c, "viewDidLoad");
        objc_exposeMethod<&OverlayController::didPressSeekBackwardAccessibility>(
            c, "didPressSeekBackwardAccessibility:");
        objc_exposeMethod<&OverlayController::didPressSeekForwardAccessibility>(
            c, "didPressSeekForwardAccessibility:");
      });
  return cls;
}

bool OverlayController::isFullscreen() {
  note(this, "isFullscreen");
  return fullscreen;
}

void OverlayController::viewDidLoad() { note(this, "overlay viewDidLoad"); }

void OverlayController::didPressSeekBackwardAccessibility(const id& sender) {
  note(this, "seek backward", sender);
}

void OverlayController::didPressSeekForwardAccessibility(const id& sender) {
  note(this, "seek forward", sender);
}

Class PlayerView::objcClass() {
  static Class cls = objc_registerClass("YTPlayerView", UIView::objcClass(), [](Class c) {
    objc_exposeMethod<&PlayerView::initWithFrame>(c, "initWithFrame:");
  });
  return cls;
}

id PlayerView::initWithFrame(CGRect frame) {
  note(this, "initWithFrame:", nullptr, 0, frame);
  return UIView::initWithFrame(frame);
}

Class PlayerController::objcClass() {
  static Class cls =
      objc_registerClass("YTPlayerViewController", NSObject::objcClass(), [](Class c) {
        objc_exposeMethod<&PlayerController::viewDidLoad>(c, "viewDidLoad");
        if (options.rateSelectionTakesDouble) {
          objc_exposeMethod<&PlayerController::didSelectRateAsDouble>(
              c, "varispeedSwitchController:didSelectRate:");
        } else {
          objc_exposeMethod<&PlayerController::didSelectRate>(
              c, "varispeedSwitchController:didSelectRate:");
        }
        objc_exposeMethod<&PlayerController::varispeedController>(c, "varispeedController");
        objc_exposeMethod<&PlayerController::currentPlaybackRate>(
            c, "currentPlaybackRateForVarispeedSwitchController:");
      });
  return cls;
}

void PlayerController::viewDidLoad() { note(this, "player viewDidLoad"); }

void PlayerController::didSelectRate(const id& varispeedController, float rate) {
  note(this, "didSelectRate", varispeedController, rate);
}

void PlayerController::didSelectRateAsDouble(const id& varispeedController, double rate) {
  note(this, "didSelectRate", varispeedController, rate);
}

Class ControlsOverlay::objcClass() {
  static Class cls =
      objc_registerClass("YTMainAppControlsOverlayView", UIView::objcClass(), [](Class c) {
        objc_exposeMethod<&ControlsOverlay::initWithDelegate>(c, "initWithDelegate:");
        objc_exposeMethod<&ControlsOverlay::layoutSubviews>(c, "layoutSubviews");
        objc_exposeMethod<&ControlsOverlay::playPauseButton>(c, "playPauseButton");
        if (options.controlsOverlayHasUpdatePlaybackRate) {
          objc_exposeMethod<&ControlsOverlay::updatePlaybackRate>(c, "updatePlaybackRate");
        }
      });
  return cls;
}

id ControlsOverlay::initWithDelegate(const id& delegate) {
  note(this, "initWithDelegate:", delegate);
  return UIView::initWithFrame(CGRectZero);
}

void ControlsOverlay::layoutSubviews() {
  note(this, "layoutSubviews");
  UIView::layoutSubviews();
}

void ControlsOverlay::updatePlaybackRate() { note(this, "host updatePlaybackRate"); }

id ControlsOverlay::playPauseButton() {
  if (!playPauseButton_) playPauseButton_ = alloc_init<UIView>();
  return playPauseButton_;
}

}  // namespace fake
