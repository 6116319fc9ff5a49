// A simulated process's main run loop (what NSRunLoop::mainRunLoop() gives there), on the
// device's virtual clock: the platform's own frameworks schedule their work on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Foundation/NSRunLoop.h"

class Process;

class SimulatedRunLoop final : public NSRunLoop {
 public:
  explicit SimulatedRunLoop(Process& process) : process_(process) {}
  // The current process's main run loop.
  static SimulatedRunLoop& current();
  // `process`'s main run loop, made on first use; it ends with the process (its timers are
  // invalidated before the process's notification observers are removed).
  static SimulatedRunLoop& of(Process& process);

  Process& process() const { return process_; }
  double now() const;  // the device's virtual time, seconds
  // Runs `task` on this loop at virtual time `when` (no earlier than now).
  // A task id is the device clock's (Device::TaskId).
  using TaskId = std::uint64_t;
  TaskId performAt(double when, std::function<void()> task);
  void cancel(TaskId id);

  // Invalidates every timer scheduled on this loop (the end of its process), which releases
  // their actions and targets: an owner that its own timer's action keeps alive is freed too.
  void invalidateTimers();

 private:
  friend class NSTimer;
  // Keeps `timer` (weakly) for invalidateTimers().
  void addTimer(const std::shared_ptr<NSTimer>& timer);

  Process& process_;
  std::vector<std::weak_ptr<NSTimer>> timers_;
  std::size_t pruneTimersAt_ = 16;
};
