// View controllers: each owns one view, made the first time it is asked for. The view's next
// responder is its controller, and the controller's is the view's superview, so that a view finds
// its controller up the responder chain, as on the device.
#pragma once

#include "UIKit/UIView.h"

class UIViewController : public UIResponder {
 public:
  static Class objcClass();

  // Loads the view if it is not loaded yet.
  Ref<UIView> view();
  // Replaces the view; the old one is no longer this controller's.
  void setView(const Ref<UIView>& view);
  BOOL isViewLoaded() const { return view_ != nullptr; }
  // The first call makes the view (`loadView`) and then sends `viewDidLoad` through the runtime,
  // so that a replacement of it runs; later calls do nothing.
  void loadViewIfNeeded();
  // Makes a plain view with the zero frame.
  virtual void loadView();
  virtual void viewDidLoad() {}

  Ref<UIResponder> nextResponder() const override;

 private:
  Ref<UIView> view_;
};
