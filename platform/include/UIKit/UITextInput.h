// Text input: a position in a text, as a text-input view hands it out.
#pragma once

#include "objc/NSObject.h"

class UITextPosition : public NSObject {
 public:
  static Class objcClass();
};
