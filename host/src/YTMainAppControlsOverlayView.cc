#include "host/YTMainAppControlsOverlayView.h"

namespace host {

namespace {
bool initReturnsNil = false;
}

Class YTMainAppControlsOverlayView::objcClass() {
  static Class cls =
      objc_registerClass("YTMainAppControlsOverlayView", UIView::objcClass(), [](Class c) {
        objc_exposeMethod<&YTMainAppControlsOverlayView::initWithDelegate>(c, "initWithDelegate:");
        objc_exposeMethod<&YTMainAppControlsOverlayView::layoutSubviews>(c, "layoutSubviews");
        objc_exposeMethod<&YTMainAppControlsOverlayView::playPauseButton>(c, "playPauseButton");
      });
  return cls;
}

Ref<YTMainAppControlsOverlayView> YTMainAppControlsOverlayView::overlayWithDelegate(
    const id& delegate, CGRect frame) {
  auto overlay = objc_cast<YTMainAppControlsOverlayView>(objc_msgSend<id>(
      alloc<YTMainAppControlsOverlayView>(), selector<"initWithDelegate:">(), delegate));
  if (overlay) overlay->setFrame(frame);
  return overlay;
}

void YTMainAppControlsOverlayView::setInitWithDelegateReturnsNil(bool returnsNil) {
  initReturnsNil = returnsNil;
}

id YTMainAppControlsOverlayView::initWithDelegate(const id& delegate) {
  if (initReturnsNil) return nullptr;
  id view = UIView::initWithFrame(CGRectZero);
  delegate_ = delegate;
  playPauseButton_ = UIButton::buttonWithType(UIButtonTypeCustom);
  playPauseButton_->setTitle(NSStr("Pause"), UIControlStateNormal);
  playPauseButton_->setTitleColor(UIColor::whiteColor(), UIControlStateNormal);
  addSubview(playPauseButton_);
  return view;
}

void YTMainAppControlsOverlayView::layoutSubviews() {
  UIView::layoutSubviews();
  if (!playPauseButton_) return;
  CGRect area = bounds();
  playPauseButton_->setFrame(CGRectMake(CGRectGetMidX(area) - kPlayPauseButtonSize / 2,
                                        CGRectGetMidY(area) - kPlayPauseButtonSize / 2,
                                        kPlayPauseButtonSize, kPlayPauseButtonSize));
}

}  // namespace host
