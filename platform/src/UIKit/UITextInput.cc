#include "UIKit/UITextInput.h"

Class UITextPosition::objcClass() {
  static Class cls = objc_registerClass("UITextPosition", NSObject::objcClass(), [](Class) {});
  return cls;
}
