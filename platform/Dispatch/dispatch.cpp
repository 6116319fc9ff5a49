#include "Dispatch/dispatch.h"

#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "Device/Device.h"
#include "Device/Process.h"
#include "Foundation/SimulatedRunLoop.h"

// A queue is the main run loop of one process.
struct dispatch_queue_s {
  std::weak_ptr<Process> process;
};

namespace {

constexpr double kNanosecondsPerSecond = 1e9;

const ProcessLocal<dispatch_queue_s> mainQueueOfProcess([] {
  return dispatch_queue_s{Process::current().weak_from_this()};
});

dispatch_time_t nanosecondsAt(double seconds) {
  return seconds <= 0 ? 0
                      : static_cast<dispatch_time_t>(std::llround(seconds * kNanosecondsPerSecond));
}

}  // namespace

dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t delta) {
  if (when == DISPATCH_TIME_FOREVER) return DISPATCH_TIME_FOREVER;
  dispatch_time_t base =
      (when == DISPATCH_TIME_NOW) ? nanosecondsAt(Device::current().now()) : when;
  if (delta < 0) {
    // Magnitude computed without negating INT64_MIN.
    const auto magnitude = static_cast<dispatch_time_t>(-(delta + 1)) + 1;
    return magnitude >= base ? 0 : base - magnitude;
  }
  const auto forward = static_cast<dispatch_time_t>(delta);
  if (forward >= DISPATCH_TIME_FOREVER - base) return DISPATCH_TIME_FOREVER - 1;
  return base + forward;
}

dispatch_queue_t dispatch_get_main_queue() {
  return &mainQueueOfProcess.get();
}

void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block) {
  if (queue == nullptr || !block || when == DISPATCH_TIME_FOREVER) return;
  std::shared_ptr<Process> process = queue->process.lock();
  if (!process) return;
  const double now = process->device().now();
  const dispatch_time_t nowNanoseconds = nanosecondsAt(now);
  // Measured from the clock's own reading, so that now + d seconds lands exactly where
  // runFor(d) lands, without a round trip through nanoseconds.
  const double at = when > nowNanoseconds
                        ? now + static_cast<double>(when - nowNanoseconds) / kNanosecondsPerSecond
                        : now;
  SimulatedRunLoop::of(*process).performAt(at, std::move(block));
}

void dispatch_async(dispatch_queue_t queue, dispatch_block_t block) {
  dispatch_after(DISPATCH_TIME_NOW, queue, std::move(block));
}
