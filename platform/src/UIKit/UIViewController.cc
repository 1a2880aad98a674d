#include "UIKit/UIViewController.h"

Class UIViewController::objcClass() {
  static Class cls = objc_registerClass("UIViewController", UIResponder::objcClass(), [](Class c) {
    objc_exposeMethod<&UIViewController::viewDidLoad>(c, "viewDidLoad");
  });
  return cls;
}

Ref<UIView> UIViewController::view() {
  loadViewIfNeeded();
  return view_;
}

void UIViewController::setView(const Ref<UIView>& view) {
  if (view_) view_->setViewController_(nullptr);
  view_ = view;
  if (view_) view_->setViewController_(selfAs<UIViewController>());
}

void UIViewController::loadViewIfNeeded() {
  if (view_) return;
  loadView();
  if (!view_) setView(alloc_init<UIView>());
  objc_msgSend(self(), selector<"viewDidLoad">());
}

void UIViewController::loadView() { setView(alloc_init<UIView>()); }

Ref<UIResponder> UIViewController::nextResponder() const {
  return view_ ? view_->superview() : nullptr;
}
