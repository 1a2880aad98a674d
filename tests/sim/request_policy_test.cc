#include "sim/RequestPolicy.h"

#include <gtest/gtest.h>

namespace {

TEST(RequestPolicy, AcceptsOnlyTheLoopbackNamesWithTheServedPortAndItsOwnOrigins) {
  for (const char* host : {"127.0.0.1:8765", "localhost:8765", "LocalHost:8765"})
    EXPECT_TRUE(sim::hostAllowed(host, 8765)) << host;
  // No port, another port, a look-alike name, IPv6 (the server is not on it), every address.
  for (const char* host :
       {"127.0.0.1", "127.0.0.1:8766", "127.0.0.1:87650", "127.0.0.1:876", "127.0.0.1:08765",
        ":8765", "", "evil.example:8765", "127.0.0.1.evil.example:8765",
        "localhost.evil.example:8765", "x127.0.0.1:8765", "[::1]:8765", "0.0.0.0:8765"})
    EXPECT_FALSE(sim::hostAllowed(host, 8765)) << host;

  for (const char* origin : {"http://127.0.0.1:8765", "http://localhost:8765"})
    EXPECT_TRUE(sim::originAllowed(origin, 8765)) << origin;
  // "null" is what sandboxed frames and files send.
  for (const char* origin : {"https://127.0.0.1:8765", "http://127.0.0.1:8765/", "http://127.0.0.1",
                             "http://evil.example:8765", "null", "", "http://", "127.0.0.1:8765"})
    EXPECT_FALSE(sim::originAllowed(origin, 8765)) << origin;

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
