#include <gtest/gtest.h>

#include <cmath>

#include "feedback/FeedbackText.h"

using glidepad::levelPercent;

// The held level is a float, and × 100 it is exact, so a level exactly halfway rounds up and the
// float just below it rounds down; a level whose decimal looks halfway may be held below it.
TEST(FeedbackText, RoundsTheHeldLevelHalfUp) {
  EXPECT_EQ(levelPercent(0.125f), 13);
  EXPECT_EQ(levelPercent(std::nextafter(0.125f, 0.0f)), 12);
  EXPECT_EQ(levelPercent(0.375f), 38);
  EXPECT_EQ(levelPercent(0.445f), 44);  // held as 0.44499999…
  EXPECT_EQ(levelPercent(0.005f), 0);   // held as 0.00499999…
  EXPECT_EQ(levelPercent(0.99999994f), 100);
}

TEST(FeedbackText, KeepsAnyLevelWithinZeroToAHundred) {
  EXPECT_EQ(levelPercent(-0.01), 0);
  EXPECT_EQ(levelPercent(std::nan("")), 0);
  EXPECT_EQ(levelPercent(1.5), 100);
  EXPECT_EQ(levelPercent(INFINITY), 100);
}
