// Gesture recognizers and the platform's gesture machinery.
#pragma once

#include "UIKit/UIView.h"
#include "objc/NSObject.h"

class UIGestureRecognizer : public NSObject {
 public:
  static Class objcClass();

  Ref<UIView> view() const { return view_.lock(); }

  // Called by UIView's addGestureRecognizer: and removeGestureRecognizer: only.
  void attachToView_(const Ref<UIView>& view) { view_ = view; }

 private:
  WeakRef<UIView> view_;
};
