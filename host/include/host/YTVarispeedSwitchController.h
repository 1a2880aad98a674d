// The host app's playback-speed model: a list of rate options, each a rate and a title, held by
// the varispeed switch controller in its `_options` instance variable (an NSArray).
#pragma once

#include <string>
#include <vector>

#include "Foundation/NSArray.h"
#include "Foundation/NSString.h"
#include "objc/NSObject.h"

namespace host {

// How the host app describes a rate option when it makes a player.
struct RateOption {
  float rate;
  std::string title;
};

// 0.25 "0.25x" … 1 "Normal" … 2 "2x", in rising order.
const std::vector<RateOption>& defaultRateOptions();

class YTVarispeedSwitchControllerOption : public NSObject {
 public:
  static Class objcClass();
  static Ref<YTVarispeedSwitchControllerOption> optionWithRate(float rate,
                                                               const std::string& title);

  float rate() const { return rate_; }
  id title() const { return title_; }

 private:
  float rate_ = 1;
  Ref<NSString> title_;
};

class YTVarispeedSwitchController : public NSObject {
 public:
  static Class objcClass();
  static Ref<YTVarispeedSwitchController> controllerWithOptions(
      const std::vector<RateOption>& options);

  Ref<NSArray> options() const { return options_; }

 private:
  Ref<NSArray> options_;
};

}  // namespace host
