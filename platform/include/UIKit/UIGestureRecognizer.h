// Gesture recognizers and the platform's gesture machinery.
//
// A recognizer is given the touches of the views it is attached to (its own view's and those of
// the view's subviews) before the touched view is, through the four touch callbacks, and reports
// its progress with `setState`. The machinery (UITouchDispatcher) acts on what it reports while
// it handles a touch event:
// - the action goes to the target once when Began is reported, once after every touch event after
//   which the state is Changed (also when Changed was not reported again), once when Ended or
//   Cancelled is reported, and never for Failed;
// - once the state is Ended, Cancelled or Failed the recognizer gets no more touches of that
//   touch sequence, and when the sequence is over (all fingers up, or cancelled by the system)
//   its state goes back to Possible and `reset` is called, after the action for the end;
// - while `cancelsTouchesInView` is YES and the state is Began or Changed when a touch event
//   arrives, the event is withheld from the touched view, which gets `touchesCancelled` once
//   instead and nothing more of that touch sequence;
// - when its view leaves the window during a touch sequence the recognizer takes part in, a
//   gesture under way (Began or Changed) is cancelled at once, its action sent while the target
//   can still receive it, and one not yet begun fails; either way the recognizer gets no more
//   touches of that sequence and is reset when it is over.
// - when a recognizer begins or recognizes (leaves Possible for Began or Ended), every other
//   recognizer of the touch sequence still Possible fails, unless the delegate of either answers
//   YES to `gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:`;
// - while a recognizer with `delaysTouchesEnded` that was Possible when a lift arrived stays
//   Possible (waiting for another tap, say), the touched view's `touchesEnded` for that lift
//   waits; it is delivered once every such recognizer has left Possible, or replaced by
//   `touchesCancelled` where one of them recognized with `cancelsTouchesInView`.
// The delegate (not retained) is asked through the runtime, where it answers:
// - `gestureRecognizer:shouldReceiveTouch:` ("B@:@@") as a touch sequence begins, for its first
//   touch: NO, and the recognizer takes no part in the sequence;
// - `gestureRecognizerShouldBegin:` ("B@:@") as the recognizer would begin or recognize: NO, and
//   it fails instead;
// - `gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:` ("B@:@@"), above.
// A state reported outside a touch event only becomes the state; a recognizer driven by a timer
// reports through `changeStateOutsideEvent_` instead.
#pragma once

#include <cstdint>

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIView.h"
#include "objc/NSObject.h"

class NSSet;
class UIEvent;

enum UIGestureRecognizerState : NSInteger {
  UIGestureRecognizerStatePossible = 0,
  UIGestureRecognizerStateBegan = 1,
  UIGestureRecognizerStateChanged = 2,
  UIGestureRecognizerStateEnded = 3,
  UIGestureRecognizerStateCancelled = 4,
  UIGestureRecognizerStateFailed = 5,
};

class UIGestureRecognizer : public NSObject {
 public:
  static Class objcClass();

  // One target and action; the target is not retained, and one that is gone is not sent to.
  // The action is sent through the runtime with the recognizer as its argument ("v@:@").
  virtual id initWithTarget(const id& target, SEL action);

  UIGestureRecognizerState state() const { return state_; }
  // Any value becomes the state, also one the usual transitions do not list.
  void setState(UIGestureRecognizerState state);

  BOOL cancelsTouchesInView() const { return cancelsTouchesInView_; }
  void setCancelsTouchesInView(BOOL cancels) { cancelsTouchesInView_ = cancels; }
  BOOL delaysTouchesEnded() const { return delaysTouchesEnded_; }
  void setDelaysTouchesEnded(BOOL delays) { delaysTouchesEnded_ = delays; }
  id delegate() const { return delegate_.lock(); }
  void setDelegate(const id& delegate) { delegate_ = delegate; }

  Ref<UIView> view() const { return view_.lock(); }
  // The centroid of the touches of the current (or last) touch event, in `view`'s coordinates;
  // with no view, in the window's. The zero point before any touch.
  CGPoint locationInView(const Ref<UIView>& view) const;

  virtual void touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event);
  virtual void touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event);
  virtual void touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event);
  virtual void touchesCancelled(const Ref<NSSet>& touches, const Ref<UIEvent>& event);
  virtual void reset();

  // Called by UIView's addGestureRecognizer: and removeGestureRecognizer: only.
  void attachToView_(const Ref<UIView>& view) { view_ = view; }

  // The machinery's side, for UITouchDispatcher only.
  enum class TouchPhase_ { Began, Moved, Ended, Cancelled };
  // Hands one touch event to the recognizer and sends the action as its state asks. Answers
  // whether it began or recognized in this event.
  bool handleTouchEvent_(TouchPhase_ phase, const Ref<NSSet>& touches, const Ref<UIEvent>& event);
  // Ended, Cancelled or Failed: takes no more touches of the current sequence.
  BOOL isFinished_() const;
  // The touch sequence is over: a gesture still under way is cancelled, a finished one reset.
  void endTouchSequence_();
  // For UIView only: the recognizer's view has left its window.
  void viewLeftWindow_();
  // Another recognizer of the sequence began: one still Possible fails, without an action.
  void failForOther_();

 protected:
  // For recognizers driven by a timer: the state changes between touch events, the action is
  // sent as it would be in one, and the machinery acts on it at once (see above). Once the
  // recognizer takes part in no touch sequence, an end or a failure resets it at once.
  void changeStateOutsideEvent_(UIGestureRecognizerState state);

 private:
  void sendAction();
  // Leaving Possible for Began or Ended asks the delegate first; NO fails the recognizer.
  bool beginsIfAllowed(UIGestureRecognizerState before);

  WeakRef<NSObject> target_;
  SEL action_ = nullptr;
  UIGestureRecognizerState state_ = UIGestureRecognizerStatePossible;
  // The states reported during the touch event being handled, one bit per state.
  unsigned reportedStates_ = 0;
  BOOL cancelsTouchesInView_ = YES;
  BOOL delaysTouchesEnded_ = YES;
  WeakRef<NSObject> delegate_;
  WeakRef<UIView> view_;
  Ref<NSSet> touches_;
  BOOL inTouchSequence_ = NO;  // given a touch event of the sequence not yet over
};
