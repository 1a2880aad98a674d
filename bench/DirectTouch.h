// One finger delivered straight to one recognizer, as the gesture machinery delivers it, leaving
// out hit-testing and the window's delivery. The touch, its set and the event are made once and
// reused, as the machinery does, so that a move allocates nothing.
#pragma once

#include "Foundation/NSSet.h"
#include "UIKit/UITouch.h"
#include "UIKit/UIWindow.h"
#include "gestures/GLPInsideViewGesture.h"

namespace bench {

class DirectTouch {
 public:
  DirectTouch();

  // Touches down on the recognizer's view, which lies in `window`, at a window point.
  void down(const Ref<GLPInsideViewGesture>& recognizer, const Ref<UIWindow>& window,
            CGPoint point);
  // Through the machinery's handling of a touch event.
  void move(CGPoint point);
  // The system's own share of a move: `touchesMoved` on the recognizer, then its action.
  void moveStraight(CGPoint point);
  void up();

 private:
  Ref<UITouch> touch_;
  Ref<NSMutableSet> touches_;
  Ref<UIEvent> event_;
  Ref<GLPInsideViewGesture> recognizer_;
  id view_;
};

}  // namespace bench
