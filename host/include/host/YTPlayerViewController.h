// The host app's player controller: it owns the player's speed model and applies the rate the
// user picks from its speed menu (or that anything else selects through the runtime).
#pragma once

#include <functional>
#include <vector>

#include "UIKit/UIViewController.h"
#include "host/YTVarispeedSwitchController.h"

namespace host {

class YTPlayerViewController : public UIViewController {
 public:
  static Class objcClass();

  // A player whose speed menu offers `options` (any list, also an empty one); it plays at rate 1.
  static Ref<YTPlayerViewController> playerWithRateOptions(
      const std::vector<RateOption>& options = defaultRateOptions());

  // Its view, once loaded, is a plain view until the app gives it the player view.
  void viewDidLoad() override {}
  virtual id varispeedController() { return varispeed_; }
  // The rate in force, bit for bit the rate that was last selected.
  virtual float currentPlaybackRateForVarispeedSwitchController(const id& controller);
  // `varispeedSwitchController:didSelectRate:`: applies the rate, then tells the observer.
  virtual void varispeedSwitchController(const id& controller, float rate);

  float playbackRate() const { return rate_; }

  // The host's own speed menu: picks option `index` as the user does, sending
  // `varispeedSwitchController:didSelectRate:` through the runtime. An index past the end does
  // nothing.
  void selectRateOption(uint64_t index);

  // Told of every rate the player applies, whoever selected it.
  using RateSelectionObserver = std::function<void(float rate)>;
  void setRateSelectionObserver(RateSelectionObserver observer) { observer_ = std::move(observer); }

 private:
  Ref<YTVarispeedSwitchController> varispeed_;
  float rate_ = 1;
  RateSelectionObserver observer_;
};

}  // namespace host
