// The host process's way into a window's touch handling: it puts fingers down, moves them, lifts
// them or has the system cancel them, and the dispatcher delivers the touch events as the device
// does.
//
// The first finger of a touch sequence hit-tests the window; the view it finds is the touched
// view for the whole sequence (no view: the sequence touches nothing). Each event goes first to
// the gesture recognizers of the touched view and of its ancestors, nearest view first and each
// view's recognizers in the order they were added, then, unless a recognizer withholds it (see
// UIGestureRecognizer.h), to the touched view, whose default passes it up the responder chain.
//
// A lift whose touchesEnded a recognizer delays (see UIGestureRecognizer.h) is kept as copies of
// its touches, up to kMaxHeldEnds at a time (beyond these the oldest is delivered at once), so
// that the next sequence can reuse the touches meanwhile.
//
// The touches, the touch sets and the event are made once and reused for every sequence, so that
// delivering a move allocates nothing.
//
// A tap apart (tapApart_) is a finger of its own that touches down and lifts while others may be
// down: it hit-tests the window on its own and forms a second sequence beside the first. Here a
// recognizer follows one sequence at a time, so the recognizers that take part in the first
// sequence do not see the tap.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSSet.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UITouch.h"
#include "UIKit/UIWindow.h"

class UITouchDispatcher {
 public:
  static constexpr size_t kMaxFingers = 10;  // fingers beyond these are not put down
  static constexpr size_t kMaxHeldEnds = 4;

  explicit UITouchDispatcher(const Ref<UIWindow>& window);
  ~UITouchDispatcher();
  UITouchDispatcher(const UITouchDispatcher&) = delete;
  UITouchDispatcher& operator=(const UITouchDispatcher&) = delete;

  // Fingers touch down at window points, each with `tapCount`. A down while fingers are down
  // adds fingers to the sequence.
  void touchesDown(std::span<const CGPoint> points, NSUInteger tapCount = 1);
  void touchDown(CGPoint point, NSUInteger tapCount = 1) { touchesDown({&point, 1}, tapCount); }
  // Moves the fingers that are down, in the order they touched down, to the given window points;
  // fingers without a point stay where they are. Nothing when no finger is down.
  void touchesMove(std::span<const CGPoint> points);
  void touchMove(CGPoint point) { touchesMove({&point, 1}); }
  // Lifts all fingers, ending the sequence.
  void touchesUp();
  // The system cancels all fingers (a call comes in, say), ending the sequence.
  void touchesCancel();
  // For the host process only: a finger apart from those that are down taps at a window point
  // (see above). Answers the view it reached, or nil.
  Ref<UIView> tapApart_(CGPoint point);

  size_t fingerCount() const { return main_.fingers; }
  Ref<UIView> touchedView() const { return main_.view; }
  const Ref<UIWindow>& window() const { return window_; }

  // For the gesture machinery only: a recognizer changed between touch events (`began`: it began
  // or recognized then).
  void recognizerChangedOutsideEvent_(const Ref<UIGestureRecognizer>& recognizer, bool began);

 private:
  using Phase = UIGestureRecognizer::TouchPhase_;

  struct Sequence {
    explicit Sequence(size_t fingers);
    std::vector<Ref<UITouch>> touches;  // the first `fingers` are down
    size_t fingers = 0;
    Ref<NSMutableSet> phaseTouches;  // the touches of the event's phase
    Ref<NSMutableSet> allTouches;    // every touch of the sequence
    Ref<UIEvent> event;
    Ref<UIView> view;
    std::vector<Ref<UIGestureRecognizer>> recognizers;
    // At a lift, those that delay its touchesEnded and were Possible as it arrived.
    std::vector<Ref<UIGestureRecognizer>> delaying;
    bool viewCancelled = false;  // the view got touchesCancelled and gets nothing more
  };

  // A lift's touchesEnded held back for the recognizers in `waitingOn`.
  struct HeldEnd {
    HeldEnd();
    std::vector<Ref<UITouch>> touches;  // copies of the lifted touches, kMaxFingers of them
    Ref<NSMutableSet> touchSet;
    Ref<UIEvent> event;
    WeakRef<UIView> view;
    std::vector<Ref<UIGestureRecognizer>> waitingOn;
    uint64_t order = 0;   // held ends go out in the order they were held
    bool held = false;    // in use
    bool cancel = false;  // one of `waitingOn` recognized, so the view's touches are cancelled
  };

  void beginSequence(Sequence& sequence, CGPoint point, const Sequence* besides);
  void addFingers(Sequence& sequence, std::span<const CGPoint> points, NSUInteger tapCount);
  void lift(Sequence& sequence, Phase phase);
  void deliver(Sequence& sequence, Phase phase);
  void endSequence(Sequence& sequence);
  void cancelView(Sequence& sequence);
  // The lift's touchesEnded, now or held, or touchesCancelled in its stead.
  void endTouches(Sequence& sequence);
  void hold(Sequence& sequence);
  // Delivers, oldest first, each held end that waits on no Possible recognizer any more.
  void releaseHeldEnds();

  Ref<UIWindow> window_;
  Sequence main_;
  Sequence apart_;
  std::array<HeldEnd, kMaxHeldEnds> held_;
  uint64_t heldSoFar_ = 0;
};
