#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "dispatch/dispatch.h"

// Times are offsets from now kept within the clock's range; work runs as it falls due, and blocks
// of any size run once and are released. The clock only moves forward and is shared by the whole
// program: the test starts a second past the reading it finds, with nothing queued.
TEST(MainQueueClock, RunsWorkAsItFallsDueInDeadlineThenSubmissionOrder) {
  dispatch_main_clock_advance_to(dispatch_main_clock_now() + NSEC_PER_SEC);
  const dispatch_time_t start = dispatch_main_clock_now();
  dispatch_queue_t queue = dispatch_get_main_queue();
  ASSERT_EQ(dispatch_main_queue_pending_count(), 0u);
  EXPECT_EQ(dispatch_time(DISPATCH_TIME_NOW, 10 * NSEC_PER_MSEC), start + 10000000);
  EXPECT_EQ(dispatch_time(start, -5), start - 5);
  EXPECT_EQ(dispatch_time(5, INT64_MIN), 0u);
  EXPECT_EQ(dispatch_time(DISPATCH_TIME_FOREVER - 10, INT64_MAX), DISPATCH_TIME_FOREVER - 1);
  EXPECT_EQ(dispatch_time(DISPATCH_TIME_FOREVER, -1), DISPATCH_TIME_FOREVER);
  EXPECT_EQ(queue, dispatch_get_main_queue());
  std::vector<std::string> ran;
  std::vector<dispatch_time_t> clockWhileRunning;
  auto note = [&](const char* name) {
    ran.push_back(name);
    clockWhileRunning.push_back(dispatch_main_clock_now());
  };
  dispatch_after(start + 30, queue, [&] { note("c"); });
  dispatch_after(start + 10, queue, [&] { note("a1"); });
  dispatch_after(start + 20, queue, [&] {
    note("b");
    // Queued while running and due within the advance: it runs in it, at start + 25, before "c".
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 5), queue, [&] { note("b+5"); });
    dispatch_after(start + 100, queue, [&] { note("late"); });
    dispatch_main_clock_advance_to(start + 1000);  // asked for by running work: does nothing
  });
  dispatch_after(start + 10, queue, [&] { note("a2"); });
  dispatch_after(DISPATCH_TIME_FOREVER, queue, [&] { note("never"); });
  dispatch_after(start, nullptr, [&] { note("no queue"); });

  dispatch_main_clock_advance_to(start + 9);
  EXPECT_TRUE(ran.empty());
  dispatch_main_clock_advance_to(start + 30);
  EXPECT_EQ(ran, (std::vector<std::string>{"a1", "a2", "b", "b+5", "c"}));
  EXPECT_EQ(clockWhileRunning, (std::vector<dispatch_time_t>{start + 10, start + 10, start + 20,
                                                             start + 25, start + 30}));
  EXPECT_EQ(dispatch_main_queue_pending_count(), 1u);

  // The clock never goes back; work queued for now runs at the next advance, even to now.
  dispatch_main_clock_advance_to(start);
  EXPECT_EQ(dispatch_main_clock_now(), start + 30);
  dispatch_after(DISPATCH_TIME_NOW, queue, [&] { note("now"); });
  dispatch_main_clock_advance_to(dispatch_main_clock_now());
  EXPECT_EQ(ran.back(), "now");
  dispatch_main_clock_advance_to(start + 100);
  EXPECT_EQ(ran.back(), "late");
  EXPECT_EQ(dispatch_main_queue_pending_count(), 0u);

  // Many blocks, in two rounds: the second takes the room the first round's blocks left.
  std::vector<int> order;
  auto capture = std::make_shared<int>(0);
  std::array<int, 64> large{};  // held on the heap
  constexpr int kBlocks = 150;  // more than the queue has room for at first
  std::vector<int> expected;    // by deadline, then in order of submission
  for (int deadline = 0; deadline < 50; ++deadline) {
    for (int i = 0; i < kBlocks; ++i) {
      if ((i * 37) % 50 == deadline) expected.push_back(i);
    }
  }
  for (int round = 0; round < 2; ++round) {
    order.clear();
    const dispatch_time_t from = start + 1000 * (round + 1);
    for (int i = 0; i < kBlocks; ++i) {
      dispatch_time_t when = from + static_cast<dispatch_time_t>((i * 37) % 50);
      dispatch_after(when, queue, [&order, i, capture, large] { order.push_back(i + large[0]); });
    }
    EXPECT_EQ(capture.use_count(), kBlocks + 1);
    dispatch_main_clock_advance_to(from + 100);
    dispatch_main_clock_advance_to(from + 200);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(capture.use_count(), 1);
  }
}

// Cancelled work is off the queue at once, its captures released, and the rest keeps its order.
TEST(MainQueueClock, CancelledWorkNeverRunsAndLeavesTheQueue) {
  dispatch_main_clock_advance_to(dispatch_main_clock_now() + NSEC_PER_SEC);
  const dispatch_time_t start = dispatch_main_clock_now();
  dispatch_queue_t queue = dispatch_get_main_queue();
  std::string ran;
  auto held = std::make_shared<int>(0);
  uint64_t first =
      dispatch_after_cancellable_(start + 10, queue, dispatch_block([&] { ran += "1"; }));
  uint64_t second =
      dispatch_after_cancellable_(start + 20, queue, dispatch_block([&, held] { ran += "2"; }));
  dispatch_after(start + 30, queue, [&] { ran += "3"; });
  EXPECT_NE(first, 0u);
  EXPECT_EQ(dispatch_after_cancellable_(DISPATCH_TIME_FOREVER, queue, dispatch_block([] {})), 0u);
  dispatch_cancel_(second);
  EXPECT_EQ(held.use_count(), 1) << "the captures go with the cancelled work";
  EXPECT_EQ(dispatch_main_queue_pending_count(), 2u);
  dispatch_cancel_(second);  // twice, 0, and work already run: nothing
  dispatch_cancel_(0);
  dispatch_main_clock_advance_to(start + 10);
  dispatch_cancel_(first);
  EXPECT_EQ(dispatch_main_queue_pending_count(), 1u);
  dispatch_main_clock_advance_to(start + 100);
  EXPECT_EQ(ran, "13");
}
