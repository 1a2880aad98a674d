#include "UIKit/UIWindow.h"

Class UIWindow::objcClass() {
  static Class cls = objc_registerClass("UIWindow", UIView::objcClass(), [](Class) {});
  return cls;
}

CGPoint UIWindow::convertPointToWindow(CGPoint point, const Ref<UIWindow>& window) const {
  CGPoint onScreen{point.x - bounds().origin.x + frame().origin.x,
                   point.y - bounds().origin.y + frame().origin.y};
  if (!window) return onScreen;
  return {onScreen.x - window->frame().origin.x + window->bounds().origin.x,
          onScreen.y - window->frame().origin.y + window->bounds().origin.y};
}
