// One tap on a rate stepper's "+" or "-" with several players open: the tapped player selects the
// neighbouring rate and every open overlay relabels its stepper.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "AllocationCounter.h"
#include "host/App.h"
#include "support/Views.h"

namespace {

constexpr CGSize kScreen = {375, 667};
constexpr CGSize kPlayer = {375, 211};

void BM_StepperTap(benchmark::State& state) {
  host::App app(kScreen);
  std::vector<std::unique_ptr<host::Player>> players;
  for (int64_t i = 0; i < state.range(0); ++i) {
    players.push_back(app.openPlayer(kPlayer, host::defaultRateOptions()));
  }
  const host::Player& shown = *players.back();  // the newest: the one whose rate steps
  app.show(shown);
  app.layOut(shown);
  auto stepper = support::stepperOf(shown);
  if (!stepper) {
    state.SkipWithError("the controls overlay has no stepper");
    return;
  }
  CGPoint plus = support::centreInWindow(stepper->incrementButton(), app.window());
  CGPoint minus = support::centreInWindow(stepper->decrementButton(), app.window());
  auto tap = [&](CGPoint point) {
    app.touches().touchDown(point);
    app.touches().touchesUp();
  };
  tap(plus);
  bool stepped = shown.playerController->playbackRate() == 1.25f;
  tap(minus);
  if (!stepped || shown.playerController->playbackRate() != 1.0f) {
    state.SkipWithError("a tap did not step the rate");
    return;
  }

  bool up = true;
  size_t before = bench::allocationCount();
  for (auto _ : state) {
    tap(up ? plus : minus);
    up = !up;
  }
  state.counters["allocs_per_tap"] = benchmark::Counter(
      static_cast<double>(bench::allocationCount() - before), benchmark::Counter::kAvgIterations);
  float rate = shown.playerController->playbackRate();
  if (rate != 1.0f && rate != 1.25f) state.SkipWithError("the rate left the two it alternates");
}

}  // namespace

BENCHMARK(BM_StepperTap)
    ->ArgName("overlays")
    ->Arg(1)
    ->Arg(4)
    ->Arg(16)
    ->Unit(benchmark::kMicrosecond);
