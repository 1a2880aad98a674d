// Views: a frame in the superview's coordinates, bounds in their own, a tree of subviews,
// visibility, a backing layer, layout passes with Auto Layout constraints, gesture recognizers,
// and the responder chain for touches.
#pragma once

#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/CALayer.h"
#include "UIKit/UIColor.h"
#include "objc/NSObject.h"

class NSSet;
class UIEvent;
class UIGestureRecognizer;
class NSLayoutConstraint;
class UIWindow;
class UIViewController;

// Touch callbacks. A responder that does not handle a touch passes it on to the next responder,
// for a view its superview.
class UIResponder : public NSObject {
 public:
  static Class objcClass();

  virtual Ref<UIResponder> nextResponder() const { return nullptr; }
  virtual void touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event);
  virtual void touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event);
  virtual void touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event);
  virtual void touchesCancelled(const Ref<NSSet>& touches, const Ref<UIEvent>& event);
};

class UIView : public UIResponder {
 public:
  static Class objcClass();

  id init() override;  // initWithFrame: with the zero rectangle
  virtual id initWithFrame(CGRect frame);

  CGRect frame() const { return frame_; }
  void setFrame(CGRect frame);
  CGRect bounds() const { return bounds_; }
  void setBounds(CGRect bounds);
  CGPoint center() const { return {CGRectGetMidX(frame_), CGRectGetMidY(frame_)}; }

  Ref<UIView> superview() const { return superview_.lock(); }
  const std::vector<Ref<UIView>>& subviews() const { return subviews_; }
  // A view that leaves its window during a touch sequence cancels the gestures of its subtree
  // that take part in it, as the device does (UIGestureRecognizer::viewLeftWindow_); moving a view
  // within its window does not.
  void addSubview(const Ref<UIView>& view);
  void removeFromSuperview();
  Ref<UIWindow> window() const;
  // The view controller whose view this is, else the superview, as on the device.
  Ref<UIResponder> nextResponder() const override;
  // Sent through the runtime to a view and each of its subviews after the window it is in (or
  // none) has changed, so that a replacement takes part; does nothing itself.
  virtual void didMoveToWindow() {}
  // For UIViewController only: the controller whose view this is; not retained.
  void setViewController_(const Ref<UIViewController>& controller);

  BOOL isHidden() const { return hidden_; }
  void setHidden(BOOL hidden) { hidden_ = hidden; }
  double alpha() const { return alpha_; }
  void setAlpha(double alpha) { alpha_ = alpha; }
  BOOL clipsToBounds() const { return clipsToBounds_; }
  void setClipsToBounds(BOOL clips) { clipsToBounds_ = clips; }
  BOOL isUserInteractionEnabled() const { return userInteractionEnabled_; }
  void setUserInteractionEnabled(BOOL enabled) { userInteractionEnabled_ = enabled; }
  Ref<UIColor> backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(const Ref<UIColor>& color) { backgroundColor_ = color; }
  Ref<CALayer> layer();

  // Layout. `layoutIfNeeded` runs a pending layout pass of this view (sent through the runtime, so
  // that replaced `layoutSubviews` implementations take part), then those of its subviews. A frame
  // size change, an added subview or an added constraint makes a pass pending.
  void setNeedsLayout() { needsLayout_ = true; }
  BOOL needsLayout() const { return needsLayout_; }
  void layoutIfNeeded();
  virtual void layoutSubviews();  // applies the constraints this view holds
  // The size that best fits `size`; a plain view answers its current size, as on the device.
  virtual CGSize sizeThatFits(CGSize size) const;

  BOOL translatesAutoresizingMaskIntoConstraints() const { return translatesAutoresizing_; }
  void setTranslatesAutoresizingMaskIntoConstraints(BOOL translates) {
    translatesAutoresizing_ = translates;
  }
  void addConstraint(const Ref<NSLayoutConstraint>& constraint);
  const std::vector<Ref<NSLayoutConstraint>>& constraints() const { return constraints_; }

  // Gesture recognizers: the view keeps each one it is given.
  void addGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer);
  void removeGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer);
  const std::vector<Ref<UIGestureRecognizer>>& gestureRecognizers() const {
    return gestureRecognizers_;
  }

  // Coordinates. A nil view means the window's (or, for a view in no window, the root's) space.
  CGPoint convertPointToView(CGPoint point, const Ref<UIView>& view) const;
  CGPoint convertPointFromView(CGPoint point, const Ref<UIView>& view) const;

  // The deepest visible, interactive descendant containing the point (in this view's bounds):
  // hidden views, views with alpha below 0.01 and views with interaction off are passed over.
  virtual BOOL pointInside(CGPoint point) const;
  Ref<UIView> hitTest(CGPoint point);

 private:
  CGPoint originInRoot() const;

  CGRect frame_ = CGRectZero;
  CGRect bounds_ = CGRectZero;
  void detachFromSuperview();
  void gesturesLeftWindow();
  void movedToWindow();

  WeakRef<UIView> superview_;
  WeakRef<UIViewController> viewController_;
  std::vector<Ref<UIView>> subviews_;
  BOOL hidden_ = NO;
  double alpha_ = 1.0;
  BOOL clipsToBounds_ = NO;
  BOOL userInteractionEnabled_ = YES;
  Ref<UIColor> backgroundColor_;
  Ref<CALayer> layer_;
  BOOL needsLayout_ = YES;
  BOOL translatesAutoresizing_ = YES;
  std::vector<Ref<NSLayoutConstraint>> constraints_;
  std::vector<Ref<UIGestureRecognizer>> gestureRecognizers_;
};
