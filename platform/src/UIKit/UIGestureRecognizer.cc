#include "UIKit/UIGestureRecognizer.h"

Class UIGestureRecognizer::objcClass() {
  static Class cls = objc_registerClass("UIGestureRecognizer", NSObject::objcClass(), [](Class) {});
  return cls;
}
