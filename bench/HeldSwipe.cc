#include "HeldSwipe.h"

#include <cmath>

#include "dispatch/dispatch.h"
#include "gestures/Rounding.h"
#include "support/Device.h"
#include "support/Views.h"

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

}  // namespace

double swipeX(size_t index) {
  size_t at = index % kCycle;
  return at < kCycle / 2 ? kFarX - kStride * static_cast<double>(at)
                         : kFarX - kStride * static_cast<double>(kCycle - at);
}

HeldSwipe::HeldSwipe(SwipeKind kind, Delivery delivery, Motion motion)
    : kind_(kind), delivery_(delivery), motion_(motion), players_(kScreen) {
  gesture_ = support::swipeRecognizerOf(players_.open(kPlayer).playerView);
  y_ = kind == SwipeKind::Volume ? kPlayer.height / 4 : kPlayer.height * 3 / 4;
  if (!gesture_) return;

  CGPoint down = {kDownX, y_};
  if (delivery_ == Delivery::Dispatcher) {
    players_.touches().touchDown(down);
  } else {
    touch_.down(gesture_, players_.app().window(), down);
  }
  // Past the activation threshold and into the change, as the machinery delivers it.
  for (double x = kDownX - kStride; x > kFarX; x -= kStride) {
    if (delivery_ == Delivery::Dispatcher) {
      players_.touches().touchMove({x, y_});
    } else {
      touch_.move({x, y_});
    }
  }
  drain();
  volumeStepsRun_ = 0;
  seeksBefore_ = seeks();
}

HeldSwipe::~HeldSwipe() {
  if (delivery_ == Delivery::Dispatcher) {
    players_.lift();
  } else if (gesture_) {
    touch_.up();
  }
  drain();
}

void HeldSwipe::move() {
  double x = motion_ == Motion::Still ? kFarX + (next_ % 2 == 0 ? 0.25 : 0.0) : swipeX(next_);
  deliver({x, y_});
  if (++next_ == kCycle) next_ = 0;
}

void HeldSwipe::deliver(CGPoint point) {
  if (delivery_ == Delivery::Dispatcher) {
    players_.touches().touchMove(point);
  } else {
    touch_.moveStraight(point);
  }
}

void HeldSwipe::drain() {
  volumeStepsRun_ += dispatch_main_queue_pending_count();
  support::runMainQueue();
}

uint64_t HeldSwipe::seeks() const {
  auto counts = players_.app().seekCounts();
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
