#include "gestures/GLPPanGestureRecognizer.h"

#include <cmath>

#include "Foundation/NSSet.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UIWindow.h"
#include "gestures/Rounding.h"

Class GLPPanGestureRecognizer::objcClass() {
  using G = GLPPanGestureRecognizer;
  static Class cls =
      objc_registerClass("GLPPanGestureRecognizer", UIGestureRecognizer::objcClass(), [](Class c) {
        objc_exposeMethod<&G::initWithTarget>(c, "initWithTarget:action:");
        objc_exposeMethod<&G::screenLocationXOfTouch>(c, "screenLocationXOfTouch:");
        objc_exposeMethod<&G::screenLocationYOfTouch>(c, "screenLocationYOfTouch:");
        objc_exposeMethod<&G::zoomRubberBandScaleForZoomScale>(
            c, "zoomRubberBandScaleForZoomScale:minimumZoomScale:maximumZoomScale:");
        objc_exposeMethod<&G::zoomScaleForRubberBandScale>(
            c, "zoomScaleForRubberBandScale:minimumZoomScale:maximumZoomScale:");
        objc_exposeMethod<&G::verticalDirection>(c, "verticalDirection");
        objc_exposeMethod<&G::setVerticalDirection>(c, "setVerticalDirection:");
        objc_exposeMethod<&G::bouncesScale>(c, "bouncesScale");
        objc_exposeMethod<&G::setBouncesScale>(c, "setBouncesScale:");
        objc_exposeMethod<&G::pressedLongEnough>(c, "pressedLongEnough");
        objc_exposeMethod<&G::setPressedLongEnough>(c, "setPressedLongEnough:");
        objc_exposeMethod<&G::numberOfTapsRequired>(c, "numberOfTapsRequired");
        objc_exposeMethod<&G::setNumberOfTapsRequired>(c, "setNumberOfTapsRequired:");
        objc_exposeMethod<&G::numberOfTouchesRequired>(c, "numberOfTouchesRequired");
        objc_exposeMethod<&G::setNumberOfTouchesRequired>(c, "setNumberOfTouchesRequired:");
        objc_exposeMethod<&G::minimumPressDuration>(c, "minimumPressDuration");
        objc_exposeMethod<&G::setMinimumPressDuration>(c, "setMinimumPressDuration:");
        objc_exposeMethod<&G::activateAfter>(c, "activateAfter");
        objc_exposeMethod<&G::setActivateAfter>(c, "setActivateAfter:");
        objc_exposeMethod<&G::scaleFactor>(c, "scaleFactor");
        objc_exposeMethod<&G::setScaleFactor>(c, "setScaleFactor:");
        objc_exposeMethod<&G::scale>(c, "scale");
        objc_exposeMethod<&G::setScale>(c, "setScale:");
        objc_exposeMethod<&G::minimumScale>(c, "minimumScale");
        objc_exposeMethod<&G::setMinimumScale>(c, "setMinimumScale:");
        objc_exposeMethod<&G::maximumScale>(c, "maximumScale");
        objc_exposeMethod<&G::setMaximumScale>(c, "setMaximumScale:");
        objc_exposeMethod<&G::initialScale>(c, "initialScale");
        objc_exposeMethod<&G::setInitialScale>(c, "setInitialScale:");
        objc_exposeMethod<&G::initialLocationOnScreen>(c, "initialLocationOnScreen");
        objc_exposeMethod<&G::setInitialLocationOnScreen>(c, "setInitialLocationOnScreen:");
      });
  return cls;
}

id GLPPanGestureRecognizer::initWithTarget(const id& target, SEL action) {
  id initialised = UIGestureRecognizer::initWithTarget(target, action);
  if (!initialised) return nullptr;
  verticalDirection_ = NO;
  bouncesScale_ = NO;
  pressedLongEnough_ = NO;
  numberOfTapsRequired_ = 1;
  numberOfTouchesRequired_ = 1;
  minimumPressDuration_ = 0.0;
  activateAfter_ = 100.0;
  scaleFactor_ = 1.5;  // directly, not through the setter
  scale_ = 1.0;
  minimumScale_ = 1.0;
  maximumScale_ = 1.0;
  initialScale_ = 0.0;
  initialLocationOnScreen_ = CGPointZero;
  return initialised;
}

void GLPPanGestureRecognizer::setScaleFactor(double factor) {
  scaleFactor_ = std::fmax(factor, 1.0);  // fmax takes 1.0 over a NaN
}

Ref<UITouch> GLPPanGestureRecognizer::eligibleTouch(const Ref<NSSet>& touches) const {
  if (!touches || touches->count() != numberOfTouchesRequired_) return nullptr;
  auto touch = objc_cast<UITouch>(touches->anyObject());
  // Taps that come before the dragging touch: the drag is tap number numberOfTapsRequired + 1.
  if (!touch || touch->tapCount() != numberOfTapsRequired_ + 1) return nullptr;
  return touch;
}

CGPoint GLPPanGestureRecognizer::screenLocation(const UITouch& touch) const {
  CGPoint inWindow = touch.locationInView(nullptr);
  auto window = touch.window();
  return window ? window->convertPointToWindow(inWindow, nullptr) : inWindow;
}

double GLPPanGestureRecognizer::screenLocationXOfTouch(const Ref<UITouch>& touch) const {
  return touch ? screenLocation(*touch).x : 0;
}

double GLPPanGestureRecognizer::screenLocationYOfTouch(const Ref<UITouch>& touch) const {
  return touch ? screenLocation(*touch).y : 0;
}

double GLPPanGestureRecognizer::travel(CGPoint location) const {
  double difference = verticalDirection_ ? location.y - initialLocationOnScreen_.y
                                         : location.x - initialLocationOnScreen_.x;
  float along = glidepad::toSinglePrecision(difference);
  float squared = along * along;
  return static_cast<double>(std::sqrt(squared));
}

void GLPPanGestureRecognizer::updateScale(CGPoint location) {
  CGRect screen = UIScreen::mainScreen()->bounds();
  double delta = verticalDirection_ ? initialLocationOnScreen_.y - location.y
                                    : initialLocationOnScreen_.x - location.x;
  double length = verticalDirection_ ? screen.size.height : screen.size.width;
  double factor = 1 + (std::fabs(delta) / length) * (scaleFactor_ - 1);
  double newScale = delta > 0 ? initialScale_ * factor : initialScale_ / factor;
  if (bouncesScale_) {
    newScale = zoomRubberBandScaleForZoomScale(newScale, minimumScale_, maximumScale_);
  }
  setScale(newScale);
}

void GLPPanGestureRecognizer::touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesBegan(touches, event);
  switch (state()) {
    case UIGestureRecognizerStatePossible:
      if (auto touch = eligibleTouch(touches)) {
        initialLocationOnScreen_ = screenLocation(*touch);
      } else {
        setState(UIGestureRecognizerStateCancelled);
      }
      break;
    case UIGestureRecognizerStateFailed:
      break;
    default:  // another finger during a gesture, or a touch after its end
      setState(UIGestureRecognizerStateCancelled);
      break;
  }
}

void GLPPanGestureRecognizer::touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesMoved(touches, event);
  auto current = state();
  if (current != UIGestureRecognizerStatePossible && current != UIGestureRecognizerStateBegan &&
      current != UIGestureRecognizerStateChanged) {
    return;
  }
  auto touch = eligibleTouch(touches);
  if (!touch) return;
  switch (current) {
    case UIGestureRecognizerStatePossible:
      if (activateAfter_ < travel(screenLocation(*touch))) {
        setState(UIGestureRecognizerStateBegan);
      }
      break;
    case UIGestureRecognizerStateBegan:
      // The scale at the moment of change is the base of the gesture; it moves from the next event.
      initialScale_ = scale_;
      setState(UIGestureRecognizerStateChanged);
      break;
    default:
      updateScale(screenLocation(*touch));
      break;
  }
}

void GLPPanGestureRecognizer::touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesEnded(touches, event);
  switch (state()) {
    case UIGestureRecognizerStateBegan:  // ended before it changed anything
      setState(UIGestureRecognizerStateCancelled);
      break;
    case UIGestureRecognizerStateChanged:
      setState(UIGestureRecognizerStateEnded);
      break;
    default:
      setState(UIGestureRecognizerStateFailed);
      break;
  }
}

void GLPPanGestureRecognizer::touchesCancelled(const Ref<NSSet>& touches,
                                               const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesCancelled(touches, event);
  auto current = state();
  if (current == UIGestureRecognizerStateBegan || current == UIGestureRecognizerStateChanged) {
    setState(UIGestureRecognizerStateCancelled);
  } else {
    setState(UIGestureRecognizerStateFailed);
  }
}

void GLPPanGestureRecognizer::reset() {
  UIGestureRecognizer::reset();
  initialLocationOnScreen_ = CGPointZero;
  initialScale_ = 1.0;
  pressedLongEnough_ = NO;
}

double GLPPanGestureRecognizer::zoomRubberBandScaleForZoomScale(double zoomScale,
                                                                double minimumZoomScale,
                                                                double maximumZoomScale) const {
  if (minimumZoomScale <= zoomScale && zoomScale <= maximumZoomScale) return zoomScale;
  if (zoomScale < minimumZoomScale) {
    return minimumZoomScale / (2 - zoomScale / minimumZoomScale);
  }
  return maximumZoomScale * (2 - maximumZoomScale / zoomScale);  // above the maximum, or NaN
}

double GLPPanGestureRecognizer::zoomScaleForRubberBandScale(double rubberBandScale,
                                                            double minimumZoomScale,
                                                            double maximumZoomScale) const {
  if (minimumZoomScale <= rubberBandScale && rubberBandScale <= maximumZoomScale) {
    return rubberBandScale;
  }
  if (rubberBandScale < minimumZoomScale) {
    return minimumZoomScale * (2 - minimumZoomScale / rubberBandScale);
  }
  float maximum = glidepad::toSinglePrecision(maximumZoomScale);
  float maximumSquared = maximum * maximum;
  return static_cast<double>(maximumSquared) / (2 * maximumZoomScale - rubberBandScale);
}
