// The player's rate options, as both the rate stepper and the hold read them: the host's
// `_options` list of its varispeed switch controller, and the rate in force.
#pragma once

#include <cstdint>

#include "Foundation/NSArray.h"
#include "setup/HostInterface.h"

namespace glidepad {

// The host's `_options` list as the rate decisions see it. No list (no player loaded yet, or a
// varispeed controller without the field) is an empty one.
class HostRateOptions {
 public:
  explicit HostRateOptions(Ref<NSArray> list) : list_(std::move(list)) {}
  uint64_t count() const { return list_ ? list_->count() : 0; }
  id optionAt(uint64_t position) const { return list_->objectAtIndex(position); }
  float rateAt(uint64_t position) const { return host::rate(optionAt(position)); }
  id titleAt(uint64_t position) const { return host::title(optionAt(position)); }

 private:
  Ref<NSArray> list_;
};

float currentRate(const id& playerController);
HostRateOptions rateOptions(const id& playerController);
// Through the host's own selection, as its menu selects.
void selectRate(const id& playerController, float rate);

}  // namespace glidepad
