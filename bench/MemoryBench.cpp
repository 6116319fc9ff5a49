// The live heap of the home-screen process over many suggestions. One cycle: the device turns
// to landscape, the suggestion is shown, it is tapped (every other cycle) or runs out, the
// device turns back to portrait (the tweak puts the lock back after a tap). The live heap is
// measured after 1,000 and after 10,000 cycles; it must not grow.
#include <benchmark/benchmark.h>

#include "CoreMotion/MotionHardware.h"
#include "CountingAllocator.h"
#include "UIKit/UITouchInput.h"
#include "VXCommon/VXAlertHelper.h"
#include "VXCommon/VXFab.h"
#include "VXCommon/VXTweakManager.h"
#include "support/WholeSystemReplay.h"

namespace {

constexpr int kFirstMeasureCycles = 1000;
constexpr int kCycles = 10000;

// One suggestion from turn to turn back; true when it was shown (and, when `tap`, accepted).
bool suggestionCycle(WholeSystemReplay& replay, bool tap) {
  Device& device = replay.device();
  MotionHardware& motion = MotionHardware::of(device);
  const std::uint64_t shown = replay.counts().suggestionsShown;
  const std::uint64_t lifts = replay.counts().lockLiftedByTweak;
  motion.setAttitude(1.35, 0.05);
  device.runFor(0.7);  // a tick, and the 0.2 s fade-in
  if (tap) {
    std::shared_ptr<VXFab> button;
    {
      ProcessScope scope(replay.homeScreen());
      button = VXTweakManager::sharedInstance()->alertHelper()->FAB();
    }
    if (!button) return false;
    const CGRect frame = button->frameOnScreen();
    UITouchInput(device).tap(
        CGPointMake(frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2));
    button.reset();
    device.runFor(0.5);
  } else {
    device.runFor(3.5);  // the 3 s disappear interval of the preferences file, and the fade-out
  }
  motion.setAttitude(0.02, 1.1);
  device.runFor(0.7);
  return replay.counts().suggestionsShown == shown + 1 &&
         replay.counts().lockLiftedByTweak == lifts + (tap ? 1 : 0);
}

void BM_SuggestionCycles_LiveHeap(benchmark::State& state) {
  std::int64_t afterFirst = 0;
  std::int64_t afterAll = 0;
  int failed = 0;
  for (auto _ : state) {
    WholeSystemReplay replay({.acceptProbability = 0.0});
    replay.boot();
    ProcessScope scope(replay.person());
    MotionHardware::of(replay.device()).setAttitude(0.02, 1.1);
    replay.device().runFor(3.0);  // the first preferences broadcast
    for (int cycle = 1; cycle <= kCycles; ++cycle) {
      if (!suggestionCycle(replay, cycle % 2 == 0)) ++failed;
      if (cycle == kFirstMeasureCycles) afterFirst = CountingAllocator::liveBytes();
    }
    afterAll = CountingAllocator::liveBytes();
  }
  state.counters["live_bytes_after_1k"] = static_cast<double>(afterFirst);
  state.counters["live_bytes_after_10k"] = static_cast<double>(afterAll);
  state.counters["growth_bytes"] = static_cast<double>(afterAll - afterFirst);
  state.counters["failed_cycles"] = failed;
  if (failed != 0) state.SkipWithError("some cycles did not show or accept a suggestion");
}
BENCHMARK(BM_SuggestionCycles_LiveHeap)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(1);

}  // namespace
