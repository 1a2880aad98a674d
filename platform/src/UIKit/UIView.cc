#include "UIKit/UIView.h"

#include <algorithm>

#include "UIKit/NSLayoutConstraint.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIViewController.h"
#include "UIKit/UIWindow.h"

Class UIResponder::objcClass() {
  static Class cls = objc_registerClass("UIResponder", NSObject::objcClass(), [](Class) {});
  return cls;
}

void UIResponder::touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  if (auto next = nextResponder()) next->touchesBegan(touches, event);
}
void UIResponder::touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  if (auto next = nextResponder()) next->touchesMoved(touches, event);
}
void UIResponder::touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  if (auto next = nextResponder()) next->touchesEnded(touches, event);
}
void UIResponder::touchesCancelled(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  if (auto next = nextResponder()) next->touchesCancelled(touches, event);
}

Class UIView::objcClass() {
  static Class cls = objc_registerClass("UIView", UIResponder::objcClass(), [](Class c) {
    objc_exposeMethod<&UIView::initWithFrame>(c, "initWithFrame:");
    objc_exposeMethod<&UIView::layoutSubviews>(c, "layoutSubviews");
    objc_exposeMethod<&UIView::frame>(c, "frame");
    objc_exposeMethod<&UIView::setFrame>(c, "setFrame:");
    objc_exposeMethod<&UIView::isHidden>(c, "isHidden");
    objc_exposeMethod<&UIView::setHidden>(c, "setHidden:");
    objc_exposeMethod<&UIView::alpha>(c, "alpha");
    objc_exposeMethod<&UIView::setAlpha>(c, "setAlpha:");
    objc_exposeMethod<&UIView::addGestureRecognizer>(c, "addGestureRecognizer:");
    objc_exposeMethod<&UIView::setNeedsLayout>(c, "setNeedsLayout");
    objc_exposeMethod<&UIView::layoutIfNeeded>(c, "layoutIfNeeded");
    objc_exposeMethod<&UIView::didMoveToWindow>(c, "didMoveToWindow");
  });
  return cls;
}

id UIView::init() { return initWithFrame(CGRectZero); }

id UIView::initWithFrame(CGRect frame) {
  setFrame(frame);
  return self();
}

void UIView::setFrame(CGRect frame) {
  if (frame.size != frame_.size) setNeedsLayout();
  frame_ = frame;
  bounds_.size = frame.size;
}

void UIView::setBounds(CGRect bounds) {
  if (bounds.size != bounds_.size) setNeedsLayout();
  bounds_ = bounds;
  frame_.origin.x += (frame_.size.width - bounds.size.width) / 2;
  frame_.origin.y += (frame_.size.height - bounds.size.height) / 2;
  frame_.size = bounds.size;
}

void UIView::addSubview(const Ref<UIView>& view) {
  if (!view || view.get() == this) return;
  auto windowBefore = view->window();
  view->detachFromSuperview();
  view->superview_ = selfAs<UIView>();
  subviews_.push_back(view);
  setNeedsLayout();
  if (view->window() == windowBefore) return;
  if (windowBefore) view->gesturesLeftWindow();
  view->movedToWindow();
}

void UIView::removeFromSuperview() {
  // The superview may hold the last reference to this view.
  auto keep = selfAs<UIView>();
  bool inWindow = window() != nullptr;
  detachFromSuperview();
  if (!inWindow) return;
  gesturesLeftWindow();
  movedToWindow();
}

void UIView::movedToWindow() {
  objc_msgSend(self(), selector<"didMoveToWindow">());
  auto subviews = subviews_;  // a replacement may change the tree
  for (const auto& subview : subviews) subview->movedToWindow();
}

Ref<UIResponder> UIView::nextResponder() const {
  if (auto controller = viewController_.lock()) return controller;
  return superview();
}

void UIView::setViewController_(const Ref<UIViewController>& controller) {
  viewController_ = controller;
}

void UIView::detachFromSuperview() {
  auto parent = superview();
  if (!parent) return;
  auto& siblings = parent->subviews_;
  siblings.erase(std::remove_if(siblings.begin(), siblings.end(),
                                [this](const Ref<UIView>& v) { return v.get() == this; }),
                 siblings.end());
  superview_.reset();
  parent->setNeedsLayout();
}

void UIView::gesturesLeftWindow() {
  // Copies: an action sent from here may change the tree or the recognizers.
  auto recognizers = gestureRecognizers_;
  for (const auto& recognizer : recognizers) recognizer->viewLeftWindow_();
  auto subviews = subviews_;
  for (const auto& subview : subviews) subview->gesturesLeftWindow();
}

Ref<UIWindow> UIView::window() const {
  const UIView* view = this;
  while (auto parent = view->superview()) view = parent.get();
  auto* window = dynamic_cast<const UIWindow*>(view);
  return window ? std::static_pointer_cast<UIWindow>(const_cast<UIWindow*>(window)->self())
                : nullptr;
}

Ref<CALayer> UIView::layer() {
  if (!layer_) layer_ = alloc_init<CALayer>();
  return layer_;
}

void UIView::layoutIfNeeded() {
  if (needsLayout_) {
    needsLayout_ = NO;
    objc_msgSend(self(), selector<"layoutSubviews">());
  }
  // A copy, since a layout pass may add or remove subviews.
  auto children = subviews_;
  for (auto& child : children) child->layoutIfNeeded();
}

void UIView::layoutSubviews() { NSLayoutConstraint::applyConstraints(*this); }

CGSize UIView::sizeThatFits(CGSize) const { return bounds_.size; }

void UIView::addConstraint(const Ref<NSLayoutConstraint>& constraint) {
  if (!constraint) return;
  constraints_.push_back(constraint);
  setNeedsLayout();
}

void UIView::addGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer) {
  if (!recognizer) return;
  if (auto previous = recognizer->view()) previous->removeGestureRecognizer(recognizer);
  gestureRecognizers_.push_back(recognizer);
  recognizer->attachToView_(selfAs<UIView>());
}

void UIView::removeGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer) {
  auto& list = gestureRecognizers_;
  auto found = std::find(list.begin(), list.end(), recognizer);
  if (found == list.end()) return;
  list.erase(found);
  recognizer->attachToView_(nullptr);
}

CGPoint UIView::originInRoot() const {
  CGPoint origin{0, 0};
  const UIView* view = this;
  // The root view's own frame origin places it on the screen; it is counted by the window.
  while (auto parent = view->superview()) {
    origin.x += view->frame_.origin.x - parent->bounds_.origin.x;
    origin.y += view->frame_.origin.y - parent->bounds_.origin.y;
    view = parent.get();
  }
  return origin;
}

CGPoint UIView::convertPointToView(CGPoint point, const Ref<UIView>& view) const {
  CGPoint origin = originInRoot();
  CGPoint inRoot{point.x - bounds_.origin.x + origin.x, point.y - bounds_.origin.y + origin.y};
  if (!view) return inRoot;
  CGPoint target = view->originInRoot();
  return {inRoot.x - target.x + view->bounds_.origin.x,
          inRoot.y - target.y + view->bounds_.origin.y};
}

CGPoint UIView::convertPointFromView(CGPoint point, const Ref<UIView>& view) const {
  CGPoint inRoot = view ? view->convertPointToView(point, nullptr) : point;
  CGPoint origin = originInRoot();
  return {inRoot.x - origin.x + bounds_.origin.x, inRoot.y - origin.y + bounds_.origin.y};
}

BOOL UIView::pointInside(CGPoint point) const { return CGRectContainsPoint(bounds_, point); }

Ref<UIView> UIView::hitTest(CGPoint point) {
  if (hidden_ || alpha_ < 0.01 || !userInteractionEnabled_ || !pointInside(point)) return nullptr;
  // Front to back: the last subview is drawn on top.
  for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
    const auto& child = *it;
    CGPoint inChild{point.x - bounds_.origin.x - child->frame_.origin.x + child->bounds_.origin.x,
                    point.y - bounds_.origin.y - child->frame_.origin.y + child->bounds_.origin.y};
    if (auto hit = child->hitTest(inChild)) return hit;
  }
  return selfAs<UIView>();
}
