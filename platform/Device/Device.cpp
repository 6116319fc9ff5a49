#include "Device/Device.h"

#include <algorithm>
#include <cmath>
#include <system_error>
#include <utility>

#include "Device/DeviceFileSystem.h"
#include "Device/Process.h"

// One pending task. `owner` identifies the process (its tasks are dropped when it ends);
// `process` keeps it reachable while the task runs, even if the task ends its own process.
struct Device::Task {
  double when = 0;
  std::uint64_t seq = 0;
  TaskId id = 0;
  const Process* owner = nullptr;
  std::weak_ptr<Process> process;
  std::function<void()> run;
  bool cancelled = false;
};

// std::push_heap keeps the greatest element first; this ordering makes it the earliest task,
// and among tasks due at the same time the one scheduled first.
struct Device::TaskOrder {
  bool operator()(const std::shared_ptr<Task>& a, const std::shared_ptr<Task>& b) const {
    if (a->when != b->when) return a->when > b->when;
    return a->seq > b->seq;
  }
};

std::shared_ptr<Device> Device::create(std::filesystem::path root) {
  return std::shared_ptr<Device>(new Device(std::move(root)));
}

Device::Device(std::filesystem::path root) : root_(std::move(root)) {
  std::error_code error;
  std::filesystem::create_directories(root_, error);
  fileSystem_ = std::make_unique<DeviceFileSystem>(*this, root_);
}

Device::~Device() {
  // End the processes, newest first, while the device is still whole: their process-wide
  // state is destroyed with the process current, and may still talk to the device.
  while (!processes_.empty()) {
    auto newest = std::max_element(
        processes_.begin(), processes_.end(),
        [](const auto& a, const auto& b) { return a.second->pid() < b.second->pid(); });
    std::shared_ptr<Process> process = newest->second;
    processes_.erase(newest);
    process->terminate();
  }
  std::vector<std::shared_ptr<Task>> pending;
  pending.swap(queue_);
  live_.clear();
  pending.clear();
}

DeviceFileSystem& Device::fileSystem() {
  return *fileSystem_;
}

// ---- virtual clock ------------------------------------------------------------------------

void Device::popCancelledTasks() {
  while (!queue_.empty() && queue_.front()->cancelled) {
    std::pop_heap(queue_.begin(), queue_.end(), TaskOrder());
    queue_.pop_back();
  }
}

void Device::runUntil(double t) {
  if (!(t >= now_)) t = now_;  // also catches NaN
  for (;;) {
    popCancelledTasks();
    if (queue_.empty() || queue_.front()->when > t) break;
    std::pop_heap(queue_.begin(), queue_.end(), TaskOrder());
    std::shared_ptr<Task> task = std::move(queue_.back());
    queue_.pop_back();
    live_.erase(task->id);
    now_ = std::max(now_, task->when);
    std::shared_ptr<Process> process = task->process.lock();
    // Moved out so that a task may cancel itself (or be dropped) while it runs.
    std::function<void()> run = std::move(task->run);
    if (!process || !process->isRunning()) continue;
    {
      ProcessScope scope(*process);
      run();
    }
    run = nullptr;  // release what the task captured before the hook looks at the device
    if (afterEachTask_) afterEachTask_();
  }
  now_ = std::max(now_, t);
}

double Device::nextTaskTime() const {
  // popCancelledTasks() keeps a live task at the top of the heap.
  return queue_.empty() ? -1.0 : queue_.front()->when;
}

Device::TaskId Device::schedule(Process& process, double when, std::function<void()> task) {
  if (!task || !process.isRunning()) return 0;
  auto entry = std::make_shared<Task>();
  entry->when = (when >= now_) ? when : now_;  // clamps NaN too
  entry->seq = nextSeq_++;
  entry->id = entry->seq + 1;
  entry->owner = &process;
  entry->process = process.weak_from_this();
  entry->run = std::move(task);
  live_.emplace(entry->id, entry);
  queue_.push_back(entry);
  std::push_heap(queue_.begin(), queue_.end(), TaskOrder());
  return entry->id;
}

void Device::cancel(TaskId id) {
  auto it = live_.find(id);
  if (it == live_.end()) return;
  std::shared_ptr<Task> task = it->second.lock();
  live_.erase(it);
  if (!task) return;
  task->cancelled = true;
  // Destroyed outside the queue's bookkeeping: its captures may schedule or cancel again.
  std::function<void()> released = std::move(task->run);
  popCancelledTasks();
}

void Device::dropTasksOf(const Process& process) {
  std::vector<std::function<void()>> released;
  auto dropped = [&](const std::shared_ptr<Task>& task) {
    if (task->owner != &process) return false;
    live_.erase(task->id);
    released.push_back(std::move(task->run));
    return true;
  };
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(), dropped), queue_.end());
  std::make_heap(queue_.begin(), queue_.end(), TaskOrder());
  popCancelledTasks();
  released.clear();
}

// ---- processes ----------------------------------------------------------------------------

std::shared_ptr<Process> Device::launch(const std::string& name) {
  terminate(name);
  auto process = std::make_shared<Process>(*this, name, nextPid_++);
  processes_[name] = process;
  auto observers = launchObservers_;  // an observer may add observers
  for (auto& observer : observers) observer(*process);
  return process;
}

std::shared_ptr<Process> Device::process(std::string_view name) const {
  auto it = processes_.find(name);
  return it == processes_.end() ? nullptr : it->second;
}

void Device::terminate(std::string_view name) {
  auto it = processes_.find(name);
  if (it == processes_.end()) return;
  std::shared_ptr<Process> process = it->second;
  auto observers = terminationObservers_;
  for (auto& observer : observers) observer(*process);
  // The observers may have ended or replaced it already.
  it = processes_.find(name);
  if (it != processes_.end() && it->second == process) processes_.erase(it);
  process->terminate();
}

std::shared_ptr<Process> Device::restart(const std::string& name) {
  terminate(name);
  return launch(name);
}

void Device::addLaunchObserver(std::function<void(Process&)> observer) {
  if (observer) launchObservers_.push_back(std::move(observer));
}

void Device::addTerminationObserver(std::function<void(Process&)> observer) {
  if (observer) terminationObservers_.push_back(std::move(observer));
}

void Device::setLibraryLocation(const std::string& name, std::filesystem::path hostFile) {
  libraries_[name] = std::move(hostFile);
}

std::filesystem::path Device::libraryLocation(std::string_view name) const {
  auto it = libraries_.find(name);
  return it == libraries_.end() ? std::filesystem::path() : it->second;
}

// ---- events -------------------------------------------------------------------------------

int Device::subscribe(Listener listener) {
  if (!listener) return 0;
  int token = nextListener_++;
  listeners_.emplace(token, std::move(listener));
  return token;
}

void Device::unsubscribe(int token) {
  listeners_.erase(token);
}

void Device::emit(std::string name, EventFields fields) {
  DeviceEvent event{now_, std::move(name), std::move(fields)};
  std::vector<int> tokens;
  tokens.reserve(listeners_.size());
  for (const auto& entry : listeners_) tokens.push_back(entry.first);
  for (int token : tokens) {
    auto it = listeners_.find(token);
    if (it == listeners_.end()) continue;
    Listener listener = it->second;  // the listener may unsubscribe itself
    listener(event);
  }
}

Device& Device::current() {
  return Process::current().device();
}
