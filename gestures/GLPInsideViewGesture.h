// The player view's swipe recognizer: a GLPPanGestureRecognizer that also keeps an integer step
// position and the position of the last reported movement, and answers whether the position has
// risen (`isCursorMovementLeft`) or fallen (`isCursorMovementRight`) since then. The text-input
// properties take part in no decision; they are stored and cleared only.
#pragma once

#include "UIKit/UITextInput.h"
#include "gestures/GLPPanGestureRecognizer.h"

class GLPInsideViewGesture : public GLPPanGestureRecognizer {
 public:
  static Class objcClass();

  // Seeds both positions from `scale` × `gestureSpeed`, whatever the touch did to the state. A
  // first touch in the dead zone (`deadZone` points from the edges) fails the recognizer.
  void touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  // Unlike its base, puts `scale` back to 1.0 and lets touches through to the view again.
  void reset() override;

  // The swipe takes effect: from now on its touches are withheld from the view.
  void started();
  // Ratchets: a YES moves `previousPoint` to `currentPoint`, so each YES stands for one movement.
  BOOL isCursorMovementLeft();
  BOOL isCursorMovementRight();
  BOOL hasSelection();

  BOOL isStarted() const { return isStarted_; }
  void setIsStarted(BOOL started) { isStarted_ = started; }
  BOOL isStartedFromTop() const { return isStartedFromTop_; }
  void setIsStartedFromTop(BOOL fromTop) { isStartedFromTop_ = fromTop; }
  uint64_t currentPoint() const { return currentPoint_; }
  void setCurrentPoint(uint64_t point) { currentPoint_ = point; }
  uint64_t previousPoint() const { return previousPoint_; }
  void setPreviousPoint(uint64_t point) { previousPoint_ = point; }
  double startedScale() const { return startedScale_; }
  void setStartedScale(double scale) { startedScale_ = scale; }
  uint64_t gestureSpeed() const { return gestureSpeed_; }
  void setGestureSpeed(uint64_t speed) { gestureSpeed_ = speed; }

  // Unowned references, as the device's assign properties, but never dangling.
  id keyboardDelegate() const { return keyboardDelegate_.lock(); }
  void setKeyboardDelegate(const id& delegate) { keyboardDelegate_ = delegate; }
  id currentLayout() const { return currentLayout_.lock(); }
  void setCurrentLayout(const id& layout) { currentLayout_ = layout; }
  Ref<UITextPosition> pivotPoint() const { return pivotPoint_.lock(); }
  void setPivotPoint(const Ref<UITextPosition>& position) { pivotPoint_ = position; }
  Ref<UITextPosition> movingPosition() const { return movingPosition_.lock(); }
  void setMovingPosition(const Ref<UITextPosition>& position) { movingPosition_ = position; }

  BOOL fadeKeyboard() const { return fadeKeyboard_; }
  void setFadeKeyboard(BOOL fade) { fadeKeyboard_ = fade; }
  BOOL isBlacklistedInput() const { return isBlacklistedInput_; }
  void setIsBlacklistedInput(BOOL blacklisted) { isBlacklistedInput_ = blacklisted; }
  BOOL isCurrentlySelecting() const { return isCurrentlySelecting_; }
  void setIsCurrentlySelecting(BOOL selecting) { isCurrentlySelecting_ = selecting; }

  // The overlay controller of the player whose view is swiped, found once as the swipe begins;
  // none where that view holds none. Not retained.
  id swipedOverlayController() const { return swipedOverlayController_.lock(); }
  void setSwipedOverlayController(const id& controller) { swipedOverlayController_ = controller; }

 private:
  bool beganInDeadZone() const;
  WeakRef<NSObject> swipedOverlayController_;
  BOOL isStarted_ = NO;
  BOOL isStartedFromTop_ = NO;
  uint64_t currentPoint_ = 0;
  uint64_t previousPoint_ = 0;
  double startedScale_ = 0.0;
  uint64_t gestureSpeed_ = 0;
  WeakRef<NSObject> keyboardDelegate_;
  WeakRef<NSObject> currentLayout_;
  WeakRef<UITextPosition> pivotPoint_;
  WeakRef<UITextPosition> movingPosition_;
  BOOL fadeKeyboard_ = NO;
  BOOL isBlacklistedInput_ = NO;
  BOOL isCurrentlySelecting_ = NO;
};
