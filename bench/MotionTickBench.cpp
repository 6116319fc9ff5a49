// One sampling tick of the motion helper inside the running tweak: with no change of class (the
// common case, 3.3 times a second for the life of the home screen), and with a change that the
// tweak manager acts on. Each reports the heap allocations per tick as the counter
// "allocs_per_tick".
#include <benchmark/benchmark.h>

#include <cstdint>

#include "CoreMotion/MotionHardware.h"
#include "CountingAllocator.h"
#include "Device/Process.h"
#include "SpringBoard/HomeScreenState.h"
#include "UIKit/UITouchInput.h"
#include "VXCommon/VXAlertHelper.h"
#include "VXCommon/VXMotionHelper.h"
#include "VXCommon/VXTweakManager.h"
#include "support/WholeSystemReplay.h"

namespace {

constexpr double kPortraitRoll = 0.02, kPortraitPitch = 1.1;
constexpr double kLandscapeRoll = 1.35, kLandscapePitch = 0.05;
// Long enough for a fade to finish and its completion to run.
constexpr double kSettleSeconds = 0.5;

// The booted tweak, its manager's motion helper, the device upright in portrait and that class
// already reported, so that the next tick finds no change.
class RunningTweak {
 public:
  RunningTweak() : replay_({}) {
    if (!replay_.boot()) std::abort();
    scope_.emplace(replay_.homeScreen());
    manager_ = VXTweakManager::sharedInstance();
    helper_ = manager_->motionHelper();
    tilt(kPortraitRoll, kPortraitPitch);
    // Past the first preferences broadcast (2 s after load) and a few ticks.
    replay_.device().runFor(3.0);
    if (helper_->currOrientation() != VXTweakManager::kPortrait) std::abort();
  }

  void tilt(double roll, double pitch) {
    MotionHardware::of(replay_.device()).setAttitude(roll, pitch);
  }
  VXMotionHelper& helper() { return *helper_; }
  VXTweakManager& manager() { return *manager_; }
  WholeSystemReplay& replay() { return replay_; }
  void settle() { replay_.device().runFor(kSettleSeconds); }

 private:
  WholeSystemReplay replay_;
  std::optional<ProcessScope> scope_;
  std::shared_ptr<VXTweakManager> manager_;
  std::shared_ptr<VXMotionHelper> helper_;
};

void reportAllocations(benchmark::State& state, std::uint64_t allocations, std::uint64_t ticks) {
  state.counters["allocs_per_tick"] =
      benchmark::Counter(static_cast<double>(allocations) / static_cast<double>(ticks ? ticks : 1));
}

// The helper's own work on a tick: read the latest attitude, classify, compare. No report.
void BM_MotionTick_NoChange(benchmark::State& state) {
  RunningTweak tweak;
  VXMotionHelper& helper = tweak.helper();
  const std::uint64_t before = CountingAllocator::allocations();
  for (auto _ : state) {
    helper.processOrientationState();
  }
  reportAllocations(state, CountingAllocator::allocations() - before, state.iterations());
  if (helper.currOrientation() != VXTweakManager::kPortrait) state.SkipWithError("class changed");
}
BENCHMARK(BM_MotionTick_NoChange);

// The same tick as the device delivers it: the virtual clock advances one sampling interval and
// the run loop fires the repeating timer, which calls the helper.
void BM_MotionTick_NoChange_ThroughRunLoop(benchmark::State& state) {
  RunningTweak tweak;
  Device& device = tweak.replay().device();
  const std::uint64_t before = CountingAllocator::allocations();
  for (auto _ : state) {
    device.runFor(VXMotionHelper::kSamplingIntervalSeconds);
  }
  reportAllocations(state, CountingAllocator::allocations() - before, state.iterations());
}
BENCHMARK(BM_MotionTick_NoChange_ThroughRunLoop);

// A tick that reports landscape: the manager finds nothing to quit for, the lock on, and puts
// up a suggestion (overlay window, button with its image, fade-in, haptic, disappear timer).
// Only that tick is timed; turning back and letting the fades finish is not.
void BM_MotionTick_Change_ShowsSuggestion(benchmark::State& state) {
  RunningTweak tweak;
  VXMotionHelper& helper = tweak.helper();
  std::uint64_t allocations = 0;
  std::uint64_t shownBefore = tweak.replay().counts().suggestionsShown;
  for (auto _ : state) {
    state.PauseTiming();
    tweak.tilt(kLandscapeRoll, kLandscapePitch);
    const std::uint64_t before = CountingAllocator::allocations();
    state.ResumeTiming();
    helper.processOrientationState();
    state.PauseTiming();
    allocations += CountingAllocator::allocations() - before;
    tweak.settle();
    tweak.tilt(kPortraitRoll, kPortraitPitch);
    helper.processOrientationState();
    tweak.settle();
    state.ResumeTiming();
  }
  reportAllocations(state, allocations, state.iterations());
  const std::uint64_t shown = tweak.replay().counts().suggestionsShown - shownBefore;
  state.counters["suggestions"] = benchmark::Counter(static_cast<double>(shown));
  if (shown != static_cast<std::uint64_t>(state.iterations()))
    state.SkipWithError("not every tick put up a suggestion");
}
BENCHMARK(BM_MotionTick_Change_ShowsSuggestion);

// A tick that reports portrait while a suggestion is up: the manager withdraws it (the
// fade-out starts). Only that tick is timed.
void BM_MotionTick_Change_WithdrawsSuggestion(benchmark::State& state) {
  RunningTweak tweak;
  VXMotionHelper& helper = tweak.helper();
  std::uint64_t allocations = 0;
  for (auto _ : state) {
    state.PauseTiming();
    tweak.tilt(kLandscapeRoll, kLandscapePitch);
    helper.processOrientationState();
    tweak.settle();
    tweak.tilt(kPortraitRoll, kPortraitPitch);
    const std::uint64_t before = CountingAllocator::allocations();
    state.ResumeTiming();
    helper.processOrientationState();
    state.PauseTiming();
    allocations += CountingAllocator::allocations() - before;
    tweak.settle();
    state.ResumeTiming();
  }
  reportAllocations(state, allocations, state.iterations());
}
BENCHMARK(BM_MotionTick_Change_WithdrawsSuggestion);

// Changes of class that the manager turns down: the device is locked, so each report ends in
// the quit test (which writes its log line) and a reset. Landscape and portrait alternate, so
// every tick is a change.
void BM_MotionTick_Change_DeviceLocked(benchmark::State& state) {
  RunningTweak tweak;
  VXMotionHelper& helper = tweak.helper();
  HomeScreenState::of(tweak.replay().device()).setDeviceLocked(true);
  MotionHardware& motion = MotionHardware::of(tweak.replay().device());
  bool landscape = false;
  std::uint64_t allocations = 0;
  for (auto _ : state) {
    landscape = !landscape;
    motion.setAttitude(landscape ? kLandscapeRoll : kPortraitRoll,
                       landscape ? kLandscapePitch : kPortraitPitch);
    const std::uint64_t before = CountingAllocator::allocations();
    helper.processOrientationState();
    allocations += CountingAllocator::allocations() - before;
  }
  reportAllocations(state, allocations, state.iterations());
  if (tweak.replay().counts().suggestionsShown != 0) state.SkipWithError("suggestion while locked");
}
BENCHMARK(BM_MotionTick_Change_DeviceLocked);

}  // namespace
