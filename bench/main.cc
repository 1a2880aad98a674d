// The host app starts and the library's initialiser runs (timed) before any benchmark, as on the
// device; the settings file it reads is a typical one on a temporary device root.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "DeviceSettings.h"
#include "FixedMoves.h"
#include "FreshHostClasses.h"
#include "Startup.h"
#include "host/Host.h"

int main(int argc, char** argv) {
  bench::TemporaryDevice device;
  if (!device.ready()) {
    std::fprintf(stderr, "glidepad-bench: cannot write the settings file\n");
    return 1;
  }
  host::registerHostClasses();
  bench::recordHostClasses();
  bench::initializeTimedOnce();

  if (auto status = bench::runFixedMoves(argc, argv)) return *status;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
