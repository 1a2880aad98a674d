#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "gestures/DoubleTapChoice.h"
#include "gestures/HoldChoice.h"

namespace {

struct Rates {
  std::vector<float> rates;
  uint64_t count() const { return rates.size(); }
  float rateAt(uint64_t position) const { return rates.at(position); }
};

}  // namespace

TEST(TapAndHoldChoice, ASidesThirdEndsStrictlyBeforeTheMiddleAndStepsStopAtThirty) {
  using glidepad::TapSide;
  EXPECT_EQ(glidepad::tapSide(99.999, 300), TapSide::Backward);
  EXPECT_EQ(glidepad::tapSide(100, 300), TapSide::Middle);
  EXPECT_EQ(glidepad::tapSide(200, 300), TapSide::Middle);
  EXPECT_EQ(glidepad::tapSide(200.001, 300), TapSide::Forward);
  EXPECT_EQ(glidepad::tapSide(-5, 300), TapSide::Backward);
  EXPECT_EQ(glidepad::tapSide(10, 0), TapSide::Middle);
  EXPECT_EQ(glidepad::tapSide(10, std::nan("")), TapSide::Middle);
  EXPECT_EQ(glidepad::tapSide(std::nan(""), 300), TapSide::Middle);
  EXPECT_EQ(glidepad::doubleTapSteps(-5), 0);
  EXPECT_EQ(glidepad::doubleTapSteps(30), 30);
  EXPECT_EQ(glidepad::doubleTapSteps(31), 30);
  EXPECT_EQ(glidepad::doubleTapSteps(INT_MAX), 30);
}

// The list's order, not the nearest rate: an unsorted list gives its first option at or above.
TEST(TapAndHoldChoice, TheHoldTakesTheFirstOptionAtOrAboveItsRate) {
  const Rates unsorted{{0.5f, 2.0f, 1.5f, 1.75f}};
  EXPECT_EQ(glidepad::holdOption(1.6f, unsorted), 1u);
  EXPECT_EQ(glidepad::holdOption(1.5f, Rates{{1.0f, 1.5f, 2.0f}}), 1u) << "equal counts";
  EXPECT_EQ(glidepad::holdOption(1.5000001f, Rates{{1.0f, 1.5f, 2.0f}}), 2u);
  EXPECT_EQ(glidepad::holdOption(2.5f, unsorted), std::nullopt);
  EXPECT_EQ(glidepad::holdOption(1.0f, Rates{{std::nanf(""), 1.0f}}), 1u);
  EXPECT_EQ(glidepad::holdOption(1.0f, Rates{}), std::nullopt);
  for (float off : {0.0f, -1.0f, std::nanf("")}) {
    EXPECT_EQ(glidepad::holdOption(off, unsorted), std::nullopt) << off;
  }
}
