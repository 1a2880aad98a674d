// A window: the root of a view tree, placed on the screen by its frame.
#pragma once

#include "UIKit/UIView.h"

class UIWindow : public UIView {
 public:
  static Class objcClass();

  // A point in this window's coordinates converted into `window`'s; with no window given, into
  // screen coordinates.
  CGPoint convertPointToWindow(CGPoint point, const Ref<UIWindow>& window) const;
};
