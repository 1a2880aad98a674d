// Start-up and settings reload: the whole initialiser once, the parts of it that can be repeated
// (reading the settings file, installing the grafts on fresh copies of the host classes), and one
// reload through the settings-change notification.
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>

#include "AllocationCounter.h"
#include "CoreFoundation/CFNotificationCenter.h"
#include "DeviceSettings.h"
#include "Foundation/NSString.h"
#include "FreshHostClasses.h"
#include "Startup.h"
#include "setup/Initializer.h"
#include "setup/Settings.h"
#include "setup/SettingsTable.h"

namespace bench {

namespace {

double initializeSeconds = 0;
double initializeCpuSeconds = 0;
size_t initializeAllocations = 0;

double threadCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

void initializeTimedOnce() {
  size_t before = allocationCount();
  double cpuStart = threadCpuSeconds();
  auto start = std::chrono::steady_clock::now();
  glidepad::initialize();
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  initializeCpuSeconds = threadCpuSeconds() - cpuStart;
  initializeSeconds = elapsed.count();
  initializeAllocations = allocationCount() - before;
}

}  // namespace bench

namespace {

void perIteration(benchmark::State& state, const char* name, size_t total) {
  state.counters[name] =
      benchmark::Counter(static_cast<double>(total), benchmark::Counter::kAvgIterations);
}

// Reports the one timed run (wall time; its processor time as `cpu_us`); the repetitions all show
// that same run.
void BM_InitializeOnce(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(bench::initializeSeconds);
  state.counters["cpu_us"] = bench::initializeCpuSeconds * 1e6;
  state.counters["allocs"] = static_cast<double>(bench::initializeAllocations);
}

void BM_LoadSettings(benchmark::State& state) {
  size_t before = bench::allocationCount();
  for (auto _ : state) glidepad::loadSettings();
  perIteration(state, "allocs_per_load", bench::allocationCount() - before);
  if (glidepad::speed != bench::kTypicalSpeed)
    state.SkipWithError("the settings file was not read");
}

// What a settings change costs: the pane posts the Darwin notification and the library reloads.
void BM_SettingsReload(benchmark::State& state) {
  auto name = NSStr(glidepad::settings::kChangeNotification);
  auto* center = CFNotificationCenterGetDarwinNotifyCenter();
  glidepad::speed = 0;
  size_t before = bench::allocationCount();
  for (auto _ : state)
    CFNotificationCenterPostNotification(center, name.get(), nullptr, nullptr, true);
  perIteration(state, "allocs_per_reload", bench::allocationCount() - before);
  if (glidepad::speed != bench::kTypicalSpeed) state.SkipWithError("the reload did not happen");
}

// The thirteen grafts, on fresh copies of the host's classes made (untimed) before each install.
void BM_InstallGrafts(benchmark::State& state) {
  static unsigned serial = 0;
  bench::SavedSlots slots;
  size_t allocations = 0;
  bool grafted = true;
  for (auto _ : state) {
    state.PauseTiming();
    slots.restore();
    bench::FreshHostClasses fresh(++serial);
    auto names = fresh.names();
    size_t before = bench::allocationCount();
    state.ResumeTiming();
    glidepad::installGrafts(names);
    allocations += bench::allocationCount() - before;
    grafted = grafted && fresh.grafted();
  }
  slots.restore();
  perIteration(state, "allocs_per_install", allocations);
  if (!grafted) state.SkipWithError("the grafts were not installed");
}

}  // namespace

BENCHMARK(BM_InitializeOnce)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SettingsReload)->Unit(benchmark::kMicrosecond);
// Each iteration leaves four classes in the runtime for good; a fixed count bounds the memory.
BENCHMARK(BM_InstallGrafts)->Iterations(2000)->Unit(benchmark::kMicrosecond);
