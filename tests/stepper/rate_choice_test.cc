#include <gtest/gtest.h>

#include <cmath>
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

const Options kThree{{{0.5f, "A"}, {1.0f, "B"}, {2.0f, "C"}}};

}  // namespace

TEST(RateChoice, LabelIsTheTitleOfTheFirstExactMatch) {
  EXPECT_EQ(labelForRate(1.0f, kThree), "B");
  EXPECT_EQ(labelForRate(2.0f, kThree), "C");
  EXPECT_FALSE(labelForRate(std::nextafter(1.0f, 2.0f), kThree));
  EXPECT_FALSE(labelForRate(std::nextafter(1.0f, 0.0f), kThree));
  EXPECT_FALSE(labelForRate(std::nanf(""), kThree));
  EXPECT_FALSE(labelForRate(1.0f, Options{}));

  Options duplicates{{{1.0f, "first"}, {1.0f, "second"}}};
  EXPECT_EQ(labelForRate(1.0f, duplicates), "first");
  Options withNaN{{{std::nanf(""), "nan"}, {0.0f, "zero"}}};
  EXPECT_EQ(labelForRate(-0.0f, withNaN), "zero");  // float equality: -0 equals 0
  EXPECT_FALSE(labelForRate(std::nanf(""), withNaN));
}

TEST(RateChoice, StepTargetIsTheNeighbourOfTheFirstMatchInsideTheList) {
  EXPECT_EQ(stepTarget(1.0f, kThree, StepDirection::Up), 2u);
  EXPECT_EQ(stepTarget(1.0f, kThree, StepDirection::Down), 0u);
  EXPECT_FALSE(stepTarget(2.0f, kThree, StepDirection::Up));
  EXPECT_EQ(stepTarget(2.0f, kThree, StepDirection::Down), 1u);
  EXPECT_FALSE(stepTarget(0.5f, kThree, StepDirection::Down));
  EXPECT_EQ(stepTarget(0.5f, kThree, StepDirection::Up), 1u);

  // No match: both directions go to the first option; an empty list gives none either way.
  for (float rate : {std::nextafter(1.0f, 2.0f), 7.0f, std::nanf("")}) {
    EXPECT_EQ(stepTarget(rate, kThree, StepDirection::Up), 0u) << rate;
    EXPECT_EQ(stepTarget(rate, kThree, StepDirection::Down), 0u) << rate;
  }
  EXPECT_FALSE(stepTarget(1.0f, Options{}, StepDirection::Up));
  EXPECT_FALSE(stepTarget(1.0f, Options{}, StepDirection::Down));

  // One option: a match has no neighbour, a mismatch selects it.
  Options single{{{1.0f, "only"}}};
  EXPECT_FALSE(stepTarget(1.0f, single, StepDirection::Up));
  EXPECT_FALSE(stepTarget(1.0f, single, StepDirection::Down));
  EXPECT_EQ(stepTarget(3.0f, single, StepDirection::Down), 0u);

  // Duplicates: the walk starts from the first of them.
  Options duplicates{{{0.5f, "A"}, {1.0f, "B"}, {1.0f, "B2"}, {2.0f, "C"}}};
  EXPECT_EQ(stepTarget(1.0f, duplicates, StepDirection::Up), 2u);
  EXPECT_EQ(stepTarget(1.0f, duplicates, StepDirection::Down), 0u);
}
