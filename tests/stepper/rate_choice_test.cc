#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "stepper/RateChoice.h"

namespace {

using glidepad::labelForRate;
using glidepad::StepDirection;
using glidepad::stepTarget;

// A plain list of (rate, title) pairs, with no host and no platform behind it.
struct Options {
  std::vector<std::pair<float, std::string>> list;
  uint64_t count() const { return list.size(); }
  float rateAt(uint64_t position) const { return list.at(position).first; }
  std::string titleAt(uint64_t position) const { return list.at(position).second; }
};

const float kNaN = std::nanf("");
const Options kThree{{{0.5f, "A"}, {1.0f, "B"}, {2.0f, "C"}}};
const Options kDuplicates{{{0.5f, "A"}, {1.0f, "B"}, {1.0f, "B2"}, {2.0f, "C"}}};
const Options kWithNaN{{{kNaN, "nan"}, {0.0f, "zero"}}};

}  // namespace

TEST(RateChoice, LabelIsTheTitleOfTheFirstExactMatch) {
  EXPECT_EQ(labelForRate(0.5f, kThree), "A");
  EXPECT_EQ(labelForRate(2.0f, kThree), "C");
  EXPECT_EQ(labelForRate(1.0f, kDuplicates), "B");
  EXPECT_EQ(labelForRate(-0.0f, kWithNaN), "zero");  // float equality: -0 equals 0
  for (float rate : {std::nextafter(1.0f, 2.0f), std::nextafter(1.0f, 0.0f), kNaN})
    EXPECT_FALSE(labelForRate(rate, kThree)) << rate;
  EXPECT_FALSE(labelForRate(kNaN, kWithNaN));
  EXPECT_FALSE(labelForRate(1.0f, Options{}));
}

TEST(RateChoice, StepTargetIsTheNeighbourOfTheFirstMatchInsideTheList) {
  const Options single{{{1.0f, "only"}}};
  const Options empty;
  struct Case {
    float rate;
    const Options& options;
    std::optional<uint64_t> up, down;
  };
  const Case cases[] = {
      {1.0f, kThree, 2u, 0u},
      {2.0f, kThree, std::nullopt, 1u},
      {0.5f, kThree, 1u, std::nullopt},
      {1.0f, kDuplicates, 2u, 0u},                   // the walk starts from the first of them
      {std::nextafter(1.0f, 2.0f), kThree, 0u, 0u},  // no match: the first option
      {kNaN, kThree, 0u, 0u},
      {1.0f, single, std::nullopt, std::nullopt},
      {3.0f, single, 0u, 0u},
      {1.0f, empty, std::nullopt, std::nullopt},
  };
  for (const auto& [rate, options, up, down] : cases) {
    EXPECT_EQ(stepTarget(rate, options, StepDirection::Up), up)
        << rate << " of " << options.count();
    EXPECT_EQ(stepTarget(rate, options, StepDirection::Down), down)
        << rate << " of " << options.count();
  }
}
