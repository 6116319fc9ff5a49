#include "Foundation/NSRunLoop.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "Device/Device.h"
#include "Device/Process.h"
#include "Foundation/SimulatedRunLoop.h"

namespace {
// The run loop as one of its process's services.
class RunLoopService final : public ProcessService {
 public:
  explicit RunLoopService(Process& process) : loop(process) {}
  void endProcess() override { loop.invalidateTimers(); }
  SimulatedRunLoop loop;
};

// A process's timers are invalidated before its observers are removed.
const ProcessServiceKind kRunLoopKind{0, [](Process& process) -> std::unique_ptr<ProcessService> {
                                        return std::make_unique<RunLoopService>(process);
                                      }};

// What NSTimer substitutes for an interval of zero or less, or not a number.
constexpr double kMinimumTimerIntervalSeconds = 0.0001;
}  // namespace

// ---- NSRunLoop ------------------------------------------------------------------------------

NSRunLoop& NSRunLoop::mainRunLoop() {
  return SimulatedRunLoop::current();
}

// ---- SimulatedRunLoop -----------------------------------------------------------------------

SimulatedRunLoop& SimulatedRunLoop::current() {
  return of(Process::current());
}

SimulatedRunLoop& SimulatedRunLoop::of(Process& process) {
  return static_cast<RunLoopService&>(process.service(kRunLoopKind)).loop;
}

double SimulatedRunLoop::now() const {
  return process_.device().now();
}

SimulatedRunLoop::TaskId SimulatedRunLoop::performAt(double when, std::function<void()> task) {
  return process_.device().schedule(process_, when, std::move(task));
}

void SimulatedRunLoop::cancel(TaskId id) {
  process_.device().cancel(id);
}

void SimulatedRunLoop::addTimer(const std::shared_ptr<NSTimer>& timer) {
  if (timers_.size() >= pruneTimersAt_) {
    std::erase_if(timers_, [](const std::weak_ptr<NSTimer>& t) {
      std::shared_ptr<NSTimer> live = t.lock();
      return !live || !live->isValid();
    });
    pruneTimersAt_ = std::max<std::size_t>(16, 2 * timers_.size());
  }
  timers_.push_back(timer);
}

void SimulatedRunLoop::invalidateTimers() {
  std::vector<std::weak_ptr<NSTimer>> timers;
  timers.swap(timers_);
  for (const auto& weak : timers) {
    if (std::shared_ptr<NSTimer> timer = weak.lock()) timer->invalidate();
  }
}

// ---- NSTimer --------------------------------------------------------------------------------

std::shared_ptr<NSTimer> NSTimer::scheduledTimerWithTimeInterval(double seconds, Action action,
                                                                 Foundation::Value userInfo,
                                                                 bool repeats) {
  SimulatedRunLoop& loop = SimulatedRunLoop::current();
  std::shared_ptr<NSTimer> timer(
      new NSTimer(seconds, std::move(action), std::move(userInfo), repeats));
  timer->process_ = loop.process().weak_from_this();
  timer->startDate_ = loop.now();
  loop.addTimer(timer);
  timer->arm();
  return timer;
}

NSTimer::NSTimer(double interval, Action action, Foundation::Value userInfo, bool repeats)
    :  // Greater-than also refuses NaN. +infinity stays: a fire date that never comes.
      interval_(interval > 0 ? interval : kMinimumTimerIntervalSeconds),
      action_(std::move(action)),
      userInfo_(std::move(userInfo)),
      repeats_(repeats) {}

NSTimer::~NSTimer() = default;

void NSTimer::arm() {
  std::shared_ptr<Process> process = std::static_pointer_cast<Process>(process_.lock());
  if (!process) return;
  // Computed from the start every time, never from the previous firing, so rounding errors
  // do not accumulate.
  fireDate_ = startDate_ + static_cast<double>(firings_ + 1) * interval_;
  task_ = SimulatedRunLoop::of(*process).performAt(fireDate_,
                                                   [self = shared_from_this()] { self->fire(); });
}

void NSTimer::fire() {
  if (!valid_) return;
  task_ = 0;
  ++firings_;
  // Moved out for the call: the callback may invalidate the timer, which releases the action
  // (and the target it holds) -- not while it runs.
  Action action = std::move(action_);
  if (repeats_) {
    arm();
  } else {
    valid_ = false;
  }
  if (action) action(*this);
  if (valid_ && !action_) action_ = std::move(action);
}

void NSTimer::invalidate() {
  if (!valid_) return;
  valid_ = false;
  // Cancelling releases the run loop's reference, which may be the last one.
  std::shared_ptr<NSTimer> keepAlive = weak_from_this().lock();
  Action released = std::move(action_);
  if (task_ != 0) {
    std::shared_ptr<Process> process = std::static_pointer_cast<Process>(process_.lock());
    if (process && process->isRunning()) process->device().cancel(task_);
    task_ = 0;
  }
}
