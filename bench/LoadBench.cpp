// The tweak library's start-up in a fresh home-screen process: its three load-time
// initialisers (the launch hook, the button's frame record, the first full read of a realistic
// preferences file with the system-wide registration), and, separately, the launch
// completion that makes the tweak manager and starts sampling.
#include <benchmark/benchmark.h>

#include "Device/Process.h"
#include "SpringBoard/SimulatedSpringBoard.h"
#include "VXCommon/VXTweakManager.h"
#include "support/WholeSystemReplay.h"

namespace {

void BM_LibraryLoad_Initialisers(benchmark::State& state) {
  WholeSystemReplay replay({});
  Device& device = replay.device();
  for (auto _ : state) {
    state.PauseTiming();
    std::shared_ptr<Process> springBoard = device.launch(WholeSystemReplay::kHomeScreenProcess);
    state.ResumeTiming();
    const bool loaded = springBoard->loadLibrary(WholeSystemReplay::kLibrary);
    state.PauseTiming();
    if (!loaded) state.SkipWithError("the tweak library did not load");
    device.terminate(WholeSystemReplay::kHomeScreenProcess);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LibraryLoad_Initialisers)->Unit(benchmark::kMicrosecond);

void BM_LibraryLoad_ThroughLaunchCompletion(benchmark::State& state) {
  WholeSystemReplay replay({});
  Device& device = replay.device();
  for (auto _ : state) {
    state.PauseTiming();
    std::shared_ptr<Process> springBoard = device.launch(WholeSystemReplay::kHomeScreenProcess);
    state.ResumeTiming();
    {
      ProcessScope scope(*springBoard);
      springBoard->loadLibrary(WholeSystemReplay::kLibrary);
      SimulatedSpringBoard::finishLaunching();
    }
    state.PauseTiming();
    device.terminate(WholeSystemReplay::kHomeScreenProcess);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LibraryLoad_ThroughLaunchCompletion)->Unit(benchmark::kMicrosecond);

}  // namespace
