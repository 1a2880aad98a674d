#include "setup/ResponderChain.h"

#include "UIKit/UIViewController.h"
#include "objc/runtime.h"

namespace glidepad {

namespace {

Ref<UIViewController> controllerUnder(const Ref<UIView>& view, Class cls) {
  // A view's next responder is its controller where it has one, else its superview.
  auto controller = objc_cast<UIViewController>(view->nextResponder());
  if (controller && controller->isKindOfClass(cls)) return controller;
  for (const auto& subview : view->subviews()) {
    if (auto found = controllerUnder(subview, cls)) return found;
  }
  return nullptr;
}

}  // namespace

id responderOfClassUp(const id& responder, const char* className) {
  Class cls = objc_getClass(className);
  if (!cls) return nullptr;
  for (auto at = objc_cast<UIResponder>(responder); at; at = at->nextResponder()) {
    if (at->isKindOfClass(cls)) return at;
  }
  return nullptr;
}

id viewControllerUnder(const id& view, const char* className) {
  Class cls = objc_getClass(className);
  auto root = objc_cast<UIView>(view);
  if (!cls || !root) return nullptr;
  return controllerUnder(root, cls);
}

}  // namespace glidepad
