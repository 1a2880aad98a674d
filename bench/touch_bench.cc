// One touch-move event of a swipe under way: the whole path from the window's touch delivery,
// the system's own share of it, and the same arithmetic on plain values as the baseline.
#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "HeldSwipe.h"
#include "UIKit/UIScreen.h"
#include "setup/Settings.h"

namespace {

using bench::Delivery;
using bench::HeldSwipe;
using bench::Motion;
using bench::SwipeKind;

enum class Feedback { Shown, Off };

void heldSwipeMoves(benchmark::State& state, SwipeKind kind, Delivery delivery,
                    Motion motion = Motion::BackAndForth, Feedback feedback = Feedback::Shown) {
  bool wasShown = glidepad::showFeedback;
  glidepad::showFeedback = feedback == Feedback::Shown;  // as the swipe begins, below
  HeldSwipe swipe(kind, delivery, motion);
  glidepad::showFeedback = wasShown;
  if (!swipe.isChanged()) {
    state.SkipWithError("the swipe did not reach its Changed state");
    return;
  }
  size_t sinceDrain = 0;
  size_t drainAllocations = 0;
  size_t before = bench::allocationCount();
  for (auto _ : state) {
    swipe.move();
    if (++sinceDrain == HeldSwipe::kDrainEvery) {
      state.PauseTiming();
      size_t drainStart = bench::allocationCount();
      swipe.drain();
      drainAllocations += bench::allocationCount() - drainStart;
      sinceDrain = 0;
      state.ResumeTiming();
    }
  }
  size_t moveAllocations = bench::allocationCount() - before - drainAllocations;
  if (!swipe.isChanged()) state.SkipWithError("the swipe left its Changed state");
  state.counters["allocs_per_move"] =
      benchmark::Counter(static_cast<double>(moveAllocations), benchmark::Counter::kAvgIterations);
  state.counters["steps_per_move"] =
      benchmark::Counter(static_cast<double>(swipe.steps()), benchmark::Counter::kAvgIterations);
  // The volume steps land outside the timed moves, each with its new text.
  state.counters["landing_allocs_per_move"] =
      benchmark::Counter(static_cast<double>(drainAllocations), benchmark::Counter::kAvgIterations);
}

void BM_WholePath(benchmark::State& state, SwipeKind kind) {
  heldSwipeMoves(state, kind, Delivery::Dispatcher);
}
void BM_WholePathNoFeedback(benchmark::State& state, SwipeKind kind) {
  heldSwipeMoves(state, kind, Delivery::Dispatcher, Motion::BackAndForth, Feedback::Off);
}
void BM_WholePathStill(benchmark::State& state, SwipeKind kind) {
  heldSwipeMoves(state, kind, Delivery::Dispatcher, Motion::Still);
}
void BM_SystemShare(benchmark::State& state, SwipeKind kind) {
  heldSwipeMoves(state, kind, Delivery::Recognizer);
}

void BM_DirectBaseline(benchmark::State& state) {
  bench::DirectSwipe swipe(UIScreen::mainScreen()->bounds().size.width, glidepad::speed);
  size_t next = 0;
  for (auto _ : state) {
    int step = swipe.move(bench::swipeX(next));
    benchmark::DoNotOptimize(step);
    if (++next == bench::kSwipeCycle) next = 0;
  }
  state.counters["steps_per_move"] =
      benchmark::Counter(static_cast<double>(swipe.steps()), benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK_CAPTURE(BM_WholePath, volume, SwipeKind::Volume);
BENCHMARK_CAPTURE(BM_WholePath, seek, SwipeKind::Seek);
BENCHMARK_CAPTURE(BM_WholePathNoFeedback, volume, SwipeKind::Volume);
BENCHMARK_CAPTURE(BM_WholePathNoFeedback, seek, SwipeKind::Seek);
BENCHMARK_CAPTURE(BM_WholePathStill, volume, SwipeKind::Volume);
BENCHMARK_CAPTURE(BM_WholePathStill, seek, SwipeKind::Seek);
BENCHMARK_CAPTURE(BM_SystemShare, volume, SwipeKind::Volume);
BENCHMARK_CAPTURE(BM_SystemShare, seek, SwipeKind::Seek);
BENCHMARK(BM_DirectBaseline);
