#include "UIKit/UIFeedbackGenerator.h"

namespace {

UIFeedbackPlayed_ played;

}  // namespace

UIFeedbackPlayed_ UIFeedbackGeneratorPlayed_() { return played; }

Class UIFeedbackGenerator::objcClass() {
  static Class cls = objc_registerClass("UIFeedbackGenerator", NSObject::objcClass(), [](Class c) {
    objc_exposeMethod<&UIFeedbackGenerator::prepare>(c, "prepare");
  });
  return cls;
}

Class UISelectionFeedbackGenerator::objcClass() {
  static Class cls = objc_registerClass(
      "UISelectionFeedbackGenerator", UIFeedbackGenerator::objcClass(), [](Class c) {
        objc_exposeMethod<&UISelectionFeedbackGenerator::selectionChanged>(c, "selectionChanged");
      });
  return cls;
}

void UISelectionFeedbackGenerator::selectionChanged() { ++played.selections; }

Class UIImpactFeedbackGenerator::objcClass() {
  static Class cls = objc_registerClass(
      "UIImpactFeedbackGenerator", UIFeedbackGenerator::objcClass(), [](Class c) {
        objc_exposeMethod<&UIImpactFeedbackGenerator::impactOccurred>(c, "impactOccurred");
      });
  return cls;
}

id UIImpactFeedbackGenerator::init() { return initWithStyle(UIImpactFeedbackStyleMedium); }

id UIImpactFeedbackGenerator::initWithStyle(UIImpactFeedbackStyle style) {
  NSObject::init();
  style_ = style;
  return self();
}

void UIImpactFeedbackGenerator::impactOccurred() { ++played.impacts; }
