#include "UIKit/UITouch.h"

#include "UIKit/UIWindow.h"

Class UITouch::objcClass() {
  static Class cls = objc_registerClass("UITouch", NSObject::objcClass(), [](Class) {});
  return cls;
}

Class UIEvent::objcClass() {
  static Class cls = objc_registerClass("UIEvent", NSObject::objcClass(), [](Class) {});
  return cls;
}

CGPoint UITouch::locationInView(const Ref<UIView>& view) const {
  if (!view) return locationInWindow_;
  return view->convertPointFromView(locationInWindow_, window());
}
