// The simulated device: a virtual clock with one queue of timed tasks shared by all of its
// processes, the processes themselves, a file system rooted in a host folder, device-wide
// services (screen, motion hardware, home-screen state...) and an event stream for observers.
//
// Time never passes by itself: runUntil()/runFor() advance the virtual clock and run every
// task that falls due, in order of due time and then of scheduling, each inside the process
// that scheduled it. Nothing sleeps, so hours of simulated time take milliseconds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "Device/DeviceEvent.h"

class Process;
class DeviceFileSystem;

class Device : public std::enable_shared_from_this<Device> {
 public:
  using TaskId = std::uint64_t;
  using Listener = std::function<void(const DeviceEvent&)>;

  // `root` is the host folder that stands for the device's "/"; it is created if missing.
  static std::shared_ptr<Device> create(std::filesystem::path root);
  ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  DeviceFileSystem& fileSystem();

  // ---- virtual clock -------------------------------------------------------------------
  double now() const { return now_; }
  // Runs every task due at or before `t` (including tasks that those tasks schedule for a
  // time <= t), then leaves the clock at `t`. `t` earlier than now() runs what is due now.
  void runUntil(double t);
  void runFor(double seconds) { runUntil(now_ + seconds); }
  // Runs what is due now without advancing the clock.
  void runPending() { runUntil(now_); }
  // Time of the next pending task, or a negative number when there is none.
  double nextTaskTime() const;

  // Schedules `task` to run inside `process` at virtual time `when` (clamped to now). Tasks of
  // a process that has ended are dropped. Returns an id for cancel(), or 0 when nothing was
  // scheduled (an empty task, a process that has ended). `process` must be one made by
  // launch(). Cancelling releases the task (and whatever it captured) at once; cancelling a
  // task that has run, or id 0, does nothing.
  TaskId schedule(Process& process, double when, std::function<void()> task);
  void cancel(TaskId id);
  // Called after every task that runs (for observers that diff the device state), outside
  // any process scope of the task.
  void setAfterEachTask(std::function<void()> hook) { afterEachTask_ = std::move(hook); }

  // ---- processes -----------------------------------------------------------------------
  // Starts a new process with this name; an existing process of the same name ends first.
  std::shared_ptr<Process> launch(const std::string& name);
  std::shared_ptr<Process> process(std::string_view name) const;  // the running one, or null
  // Ends the process: its tasks are dropped, its process-wide state destroyed.
  void terminate(std::string_view name);
  // Ends and starts again under the same name: a fresh process (a respring for "SpringBoard").
  std::shared_ptr<Process> restart(const std::string& name);
  // Observers told after a process has been launched / before it is torn down. A device
  // that is being destroyed ends its processes without telling the observers.
  void addLaunchObserver(std::function<void(Process&)> observer);
  void addTerminationObserver(std::function<void(Process&)> observer);

  // Where loadLibrary() finds the host file of a library the device knows by name.
  void setLibraryLocation(const std::string& name, std::filesystem::path hostFile);
  std::filesystem::path libraryLocation(std::string_view name) const;

  // ---- services --------------------------------------------------------------------------
  // One instance of T per device, default-constructed on first use (screen, motion hardware,
  // home-screen state...). T must be default-constructible.
  template <typename T>
  T& service() {
    auto it = services_.find(std::type_index(typeid(T)));
    if (it == services_.end()) {
      it = services_
               .emplace(std::type_index(typeid(T)), std::shared_ptr<void>(std::make_shared<T>()))
               .first;
    }
    return *static_cast<T*>(it->second.get());
  }

  // ---- events ----------------------------------------------------------------------------
  // Listeners are called in order of subscription; one unsubscribed during an emit is not
  // called afterwards, one subscribed during an emit first hears the next event.
  int subscribe(Listener listener);
  void unsubscribe(int token);
  // Stamps the event with now().
  void emit(std::string name, EventFields fields);

  // The device of the current process.
  static Device& current();

 private:
  friend class Process;
  explicit Device(std::filesystem::path root);
  struct Task;
  struct TaskOrder;
  // Drops (and releases) every pending task of `process`; Process::terminate calls it.
  void dropTasksOf(const Process& process);
  void popCancelledTasks();
  std::filesystem::path root_;
  std::unique_ptr<DeviceFileSystem> fileSystem_;
  double now_ = 0;
  std::uint64_t nextSeq_ = 0;
  std::vector<std::shared_ptr<Task>> queue_;  // min-heap by (when, seq)
  std::map<TaskId, std::weak_ptr<Task>> live_;
  std::function<void()> afterEachTask_;
  std::map<std::string, std::shared_ptr<Process>, std::less<>> processes_;
  std::uint64_t nextPid_ = 100;
  std::vector<std::function<void(Process&)>> launchObservers_;
  std::vector<std::function<void(Process&)>> terminationObservers_;
  std::map<std::string, std::filesystem::path, std::less<>> libraries_;
  std::map<std::type_index, std::shared_ptr<void>> services_;
  std::map<int, Listener> listeners_;
  int nextListener_ = 1;
};
