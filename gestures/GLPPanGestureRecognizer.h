// A continuous one-axis drag recognizer. It follows one finger that touches down with a given
// tap count, begins once the finger has travelled more than `activateAfter` points along its
// axis, and from then on turns the travel into a multiplicative `scale`: above the starting scale
// while the finger is toward smaller coordinates than where it touched down, below it toward
// larger ones, optionally softened past [minimumScale, maximumScale] by a rubber band.
#pragma once

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UITouch.h"

class GLPPanGestureRecognizer : public UIGestureRecognizer {
 public:
  static Class objcClass();

  id initWithTarget(const id& target, SEL action) override;

  void touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesCancelled(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  // Leaves `scale` as it is, so a later gesture goes on from the scale this one left.
  void reset() override;

  // The touch's location on the screen, in points.
  double screenLocationXOfTouch(const Ref<UITouch>& touch) const;
  double screenLocationYOfTouch(const Ref<UITouch>& touch) const;

  // The rubber band: z within [minimum, maximum] unchanged, beyond it approaching twice the
  // maximum or half the minimum. The second mapping undoes the first.
  double zoomRubberBandScaleForZoomScale(double zoomScale, double minimumZoomScale,
                                         double maximumZoomScale) const;
  double zoomScaleForRubberBandScale(double rubberBandScale, double minimumZoomScale,
                                     double maximumZoomScale) const;

  BOOL verticalDirection() const { return verticalDirection_; }
  void setVerticalDirection(BOOL vertical) { verticalDirection_ = vertical; }
  BOOL bouncesScale() const { return bouncesScale_; }
  void setBouncesScale(BOOL bounces) { bouncesScale_ = bounces; }
  BOOL pressedLongEnough() const { return pressedLongEnough_; }
  void setPressedLongEnough(BOOL pressed) { pressedLongEnough_ = pressed; }
  NSUInteger numberOfTapsRequired() const { return numberOfTapsRequired_; }
  void setNumberOfTapsRequired(NSUInteger taps) { numberOfTapsRequired_ = taps; }
  NSUInteger numberOfTouchesRequired() const { return numberOfTouchesRequired_; }
  void setNumberOfTouchesRequired(NSUInteger touches) { numberOfTouchesRequired_ = touches; }
  double minimumPressDuration() const { return minimumPressDuration_; }
  void setMinimumPressDuration(double duration) { minimumPressDuration_ = duration; }
  double activateAfter() const { return activateAfter_; }
  void setActivateAfter(double points) { activateAfter_ = points; }
  double scaleFactor() const { return scaleFactor_; }
  // Never below 1: a factor below 1 (or NaN) would turn the scale's direction around.
  void setScaleFactor(double factor);
  double scale() const { return scale_; }
  void setScale(double scale) { scale_ = scale; }
  double minimumScale() const { return minimumScale_; }
  void setMinimumScale(double scale) { minimumScale_ = scale; }
  double maximumScale() const { return maximumScale_; }
  void setMaximumScale(double scale) { maximumScale_ = scale; }
  double initialScale() const { return initialScale_; }
  void setInitialScale(double scale) { initialScale_ = scale; }
  CGPoint initialLocationOnScreen() const { return initialLocationOnScreen_; }
  void setInitialLocationOnScreen(CGPoint location) { initialLocationOnScreen_ = location; }

 private:
  // The touch the callbacks look at, if the touch set fits the configuration.
  Ref<UITouch> eligibleTouch(const Ref<NSSet>& touches) const;
  CGPoint screenLocation(const UITouch& touch) const;
  // Travel along the axis since touch-down, in single precision as the threshold test wants it.
  double travel(CGPoint location) const;
  void updateScale(CGPoint location);

  BOOL verticalDirection_ = NO;
  BOOL bouncesScale_ = NO;
  BOOL pressedLongEnough_ = NO;
  NSUInteger numberOfTapsRequired_ = 1;
  NSUInteger numberOfTouchesRequired_ = 1;
  double minimumPressDuration_ = 0.0;
  double activateAfter_ = 100.0;
  double scaleFactor_ = 1.5;
  double scale_ = 1.0;
  double minimumScale_ = 1.0;
  double maximumScale_ = 1.0;
  double initialScale_ = 0.0;
  CGPoint initialLocationOnScreen_ = CGPointZero;
};
