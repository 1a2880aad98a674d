#include "HeldSwipe.h"

#include <cmath>

#include "UIKit/UIWindow.h"
#include "dispatch/dispatch.h"
#include "gestures/Rounding.h"
#include "objc/message.h"

namespace bench {

namespace {

constexpr CGSize kScreen = {375, 667};
constexpr CGSize kPlayer = {375, 211};
constexpr double kDownX = 300;
constexpr double kStride = 5;
// The finger's way once the swipe is under way: 200 down to 100 and back, 5 points a move.
constexpr double kFarX = 200;
constexpr size_t kCycle = kSwipeCycle;
static_assert(kCycle * kStride == 2 * 100);

using Phase = UIGestureRecognizer::TouchPhase_;

Ref<GLPInsideViewGesture> swipeRecognizerOf(const Ref<UIView>& view) {
  for (const auto& recognizer : view->gestureRecognizers()) {
    if (auto swipe = objc_cast<GLPInsideViewGesture>(recognizer)) return swipe;
  }
  return nullptr;
}

}  // namespace

double swipeX(size_t index) {
  size_t at = index % kCycle;
  return at < kCycle / 2 ? kFarX - kStride * static_cast<double>(at)
                         : kFarX - kStride * static_cast<double>(kCycle - at);
}

HeldSwipe::HeldSwipe(SwipeKind kind, Delivery delivery)
    : kind_(kind), delivery_(delivery), app_(std::make_unique<host::App>(kScreen)) {
  player_ = app_->openPlayer(kPlayer, host::defaultRateOptions());
  app_->show(*player_);
  app_->layOut(*player_);
  playerView_ = player_->playerView;
  gesture_ = swipeRecognizerOf(player_->playerView);
  y_ = kind == SwipeKind::Volume ? kPlayer.height / 4 : kPlayer.height * 3 / 4;
  if (!gesture_) return;

  CGPoint down = {kDownX, y_};
  if (delivery_ == Delivery::Dispatcher) {
    app_->touches().touchDown(down);
  } else {
    touch_ = alloc_init<UITouch>();
    touch_->setTapCount_(1);
    touch_->setWindow_(app_->window());
    touch_->setView_(player_->playerView);
    touch_->setLocationInWindow_(down);
    touches_ = alloc<NSMutableSet>();
    touches_->initWithCapacity(1);
    touches_->addObject(touch_);
    event_ = alloc_init<UIEvent>();
    event_->setTouches_(touches_);
    gesture_->handleTouchEvent_(Phase::Began, touches_, event_);
  }
  // Past the activation threshold and into the change, as the machinery delivers it.
  for (double x = kDownX - kStride; x > kFarX; x -= kStride) {
    if (delivery_ == Delivery::Dispatcher) {
      app_->touches().touchMove({x, y_});
    } else {
      touch_->setPhase_(UITouchPhaseMoved);
      touch_->setLocationInWindow_({x, y_});
      gesture_->handleTouchEvent_(Phase::Moved, touches_, event_);
    }
  }
  drain();
  volumeStepsRun_ = 0;
  seeksBefore_ = seeks();
}

HeldSwipe::~HeldSwipe() {
  if (delivery_ == Delivery::Dispatcher) {
    app_->touches().touchesUp();
  } else if (gesture_) {
    touch_->setPhase_(UITouchPhaseEnded);
    gesture_->handleTouchEvent_(Phase::Ended, touches_, event_);
    gesture_->endTouchSequence_();
  }
  drain();
}

void HeldSwipe::move() {
  deliver({swipeX(next_), y_});
  if (++next_ == kCycle) next_ = 0;
}

void HeldSwipe::deliver(CGPoint point) {
  if (delivery_ == Delivery::Dispatcher) {
    app_->touches().touchMove(point);
    return;
  }
  touch_->setLocationInWindow_(point);
  gesture_->touchesMoved(touches_, event_);
  objc_msgSend(playerView_, selector<"GLPGesture:">(), gesture_);
}

void HeldSwipe::drain() {
  volumeStepsRun_ += dispatch_main_queue_pending_count();
  dispatch_main_clock_advance_to(dispatch_main_clock_now() + NSEC_PER_SEC);
}

uint64_t HeldSwipe::seeks() const {
  auto counts = app_->seekCounts();
  return static_cast<uint64_t>(counts.backward + counts.forward);
}

uint64_t HeldSwipe::steps() const {
  return volumeStepsRun_ + dispatch_main_queue_pending_count() + (seeks() - seeksBefore_);
}

bool HeldSwipe::isChanged() const {
  return gesture_ && gesture_->state() == UIGestureRecognizerStateChanged;
}

DirectSwipe::DirectSwipe(double screenWidth, int speed)
    : initialX_(kDownX), screenWidth_(screenWidth), speed_(speed) {
  previous_ = glidepad::toStepPosition(scale_ * speed_);
  current_ = previous_;
}

int DirectSwipe::move(double x) {
  double delta = initialX_ - x;
  double factor = 1 + (std::fabs(delta) / screenWidth_) * (scaleFactor_ - 1);
  scale_ = delta > 0 ? initialScale_ * factor : initialScale_ / factor;
  current_ = glidepad::toStepPosition(scale_ * static_cast<double>(speed_));
  if (previous_ < current_) {
    previous_ = current_;
    ++steps_;
    return -1;
  }
  if (previous_ > current_) {
    previous_ = current_;
    ++steps_;
    return +1;
  }
  return 0;
}

}  // namespace bench
