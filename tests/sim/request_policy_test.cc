#include "sim/RequestPolicy.h"

#include <gtest/gtest.h>

namespace {

TEST(RequestPolicy, AcceptsOnlyTheLoopbackNamesWithTheServedPort) {
  EXPECT_TRUE(sim::hostAllowed("127.0.0.1:8765", 8765));
  EXPECT_TRUE(sim::hostAllowed("localhost:8765", 8765));
  EXPECT_TRUE(sim::hostAllowed("LocalHost:8765", 8765));

  EXPECT_FALSE(sim::hostAllowed("127.0.0.1", 8765));  // no port
  EXPECT_FALSE(sim::hostAllowed("127.0.0.1:8766", 8765));
  EXPECT_FALSE(sim::hostAllowed("127.0.0.1:87650", 8765));
  EXPECT_FALSE(sim::hostAllowed("127.0.0.1:876", 8765));
  EXPECT_FALSE(sim::hostAllowed("127.0.0.1:08765", 8765));
  EXPECT_FALSE(sim::hostAllowed(":8765", 8765));
  EXPECT_FALSE(sim::hostAllowed("", 8765));
  EXPECT_FALSE(sim::hostAllowed("evil.example:8765", 8765));
  EXPECT_FALSE(sim::hostAllowed("127.0.0.1.evil.example:8765", 8765));
  EXPECT_FALSE(sim::hostAllowed("localhost.evil.example:8765", 8765));
  EXPECT_FALSE(sim::hostAllowed("x127.0.0.1:8765", 8765));
  EXPECT_FALSE(sim::hostAllowed("[::1]:8765", 8765));  // the server is not on IPv6
  EXPECT_FALSE(sim::hostAllowed("0.0.0.0:8765", 8765));
}

TEST(RequestPolicy, AcceptsOnlyItsOwnOrigins) {
  EXPECT_TRUE(sim::originAllowed("http://127.0.0.1:8765", 8765));
  EXPECT_TRUE(sim::originAllowed("http://localhost:8765", 8765));

  EXPECT_FALSE(sim::originAllowed("https://127.0.0.1:8765", 8765));
  EXPECT_FALSE(sim::originAllowed("http://127.0.0.1:8765/", 8765));
  EXPECT_FALSE(sim::originAllowed("http://127.0.0.1", 8765));
  EXPECT_FALSE(sim::originAllowed("http://evil.example:8765", 8765));
  EXPECT_FALSE(sim::originAllowed("null", 8765));  // sandboxed frames and files
  EXPECT_FALSE(sim::originAllowed("", 8765));
  EXPECT_FALSE(sim::originAllowed("http://", 8765));
  EXPECT_FALSE(sim::originAllowed("127.0.0.1:8765", 8765));
}

TEST(RequestPolicy, NeedsAHostAndAnOwnOriginWhenThereIsOne) {
  EXPECT_TRUE(sim::requestAllowed("127.0.0.1:80", std::nullopt, 80));
  EXPECT_TRUE(sim::requestAllowed("localhost:80", "http://127.0.0.1:80", 80));
  EXPECT_FALSE(sim::requestAllowed(std::nullopt, std::nullopt, 80));
  EXPECT_FALSE(sim::requestAllowed("127.0.0.1:80", "http://evil.example", 80));
  EXPECT_FALSE(sim::requestAllowed("127.0.0.1:80", "", 80));  // present but empty
  EXPECT_FALSE(sim::requestAllowed("evil.example:80", "http://127.0.0.1:80", 80));
}

TEST(RequestPolicy, TakesAnAgeFromZeroToADayAndNothingElse) {
  EXPECT_EQ(sim::requestAge("0"), 0.0);
  EXPECT_EQ(sim::requestAge("12.5"), 12.5);
  EXPECT_EQ(sim::requestAge("86400000"), 86400000.0);
  for (const char* refused : {"86400000.5", "1e20", "-1", "-1e-300", "inf", "nan", "", " 1", "1 ",
                              "+1", "0x10", "12abc", "1e99999"}) {
    EXPECT_EQ(sim::requestAge(refused), std::nullopt) << refused;
  }
}

}  // namespace
