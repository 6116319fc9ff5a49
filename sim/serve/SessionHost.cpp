#include "sim/serve/SessionHost.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <future>
#include <limits>

namespace sim {
namespace {

// While a picture keeps changing (a fade), the device is looked at this often.
constexpr double kAnimationLookSeconds = 0.05;
// The thread looks at its sessions at least this often (pausing pages that are gone).
constexpr double kLongestSleepSeconds = 1.0;

}  // namespace

SessionHost::SessionHost(Settings settings) : settings_(std::move(settings)) {
  thread_ = std::thread([this] { loop(); });
}

SessionHost::~SessionHost() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

double SessionHost::wallNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::uint64_t SessionHost::changes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return changes_;
}

void SessionHost::waitForChange(std::uint64_t seen, double seconds) const {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, std::chrono::duration<double>(std::max(0.0, seconds)),
                    [&] { return changes_ != seen || stopping_ || waitingStopped_; });
}

void SessionHost::stopWaiting() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    waitingStopped_ = true;
  }
  changed_.notify_all();
}

bool SessionHost::waitingStopped() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return waitingStopped_;
}

void SessionHost::noteChange() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++changes_;
  }
  changed_.notify_all();
}

void SessionHost::post(const std::function<void()>& job) {
  std::promise<void> done;
  std::future<void> finished = done.get_future();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    jobs_.push_back([&] {
      job();
      done.set_value();
    });
  }
  wake_.notify_all();
  finished.wait();
}

bool SessionHost::with(const std::string& id, const std::function<void(Entry&)>& work,
                       std::string& error) {
  bool found = false;
  post([&] {
    Entry* entry = entryFor(id, error);
    if (!entry) return;
    found = true;
    const double wall = wallNow();
    entry->lastSeen = wall;
    sync(*entry, wall);
    const std::uint64_t lines = entry->session->humanLineCount();
    const std::uint64_t version = entry->pictureVersion;
    work(*entry);
    // An action may have moved the device on (its clock follows) or changed the picture.
    entry->clock.catchUp(wall, entry->session->now());
    lookAtPicture(*entry);
    // Only what a page shows counts: a request that changed nothing wakes no one.
    if (entry->session->humanLineCount() != lines || entry->pictureVersion != version) {
      noteChange();
    }
  });
  if (!found && error.empty()) error = "the server is stopping";
  return found;
}

bool SessionHost::lookAtPicture(Entry& entry) {
  const std::uint64_t signature = entry.session->pictureSignature();
  if (signature == entry.lastSignature) return false;
  entry.lastSignature = signature;
  ++entry.pictureVersion;
  return true;
}

bool SessionHost::restart(const std::string& id, Scenario scenario, std::string& error) {
  bool made = false;
  post([&] {
    if (closing_) {
      error = "the server is stopping";
      return;
    }
    std::unique_ptr<LiveSession> session = LiveSession::start(std::move(scenario), error);
    if (!session) return;
    auto found = entries_.find(id);
    if (found == entries_.end() && entries_.size() >= settings_.maxSessions) {
      error = "too many sessions (at most " + std::to_string(settings_.maxSessions) + ")";
      return;
    }
    auto entry = std::make_unique<Entry>();
    entry->session = std::move(session);
    entry->lastSeen = wallNow();
    entry->lastSignature = entry->session->pictureSignature();
    entry->clock.play(entry->lastSeen);
    if (found != entries_.end()) entry->pictureVersion = found->second->pictureVersion + 1;
    entries_[id] = std::move(entry);
    made = true;
    noteChange();
  });
  return made;
}

SessionHost::Entry* SessionHost::entryFor(const std::string& id, std::string& error) {
  if (closing_) {
    error = "the server is stopping";
    return nullptr;
  }
  auto found = entries_.find(id);
  if (found != entries_.end()) return found->second.get();
  if (entries_.size() >= settings_.maxSessions) {
    error = "too many sessions (at most " + std::to_string(settings_.maxSessions) +
            "); close a page and try again";
    return nullptr;
  }
  std::unique_ptr<LiveSession> session = LiveSession::start(settings_.scenario, error);
  if (!session) return nullptr;
  auto entry = std::make_unique<Entry>();
  entry->session = std::move(session);
  entry->lastSignature = entry->session->pictureSignature();
  entry->clock.play(wallNow());
  Entry* made = entry.get();
  entries_[id] = std::move(entry);
  return made;
}

void SessionHost::sync(Entry& entry, double wall) {
  const std::uint64_t lines = entry.session->humanLineCount();
  entry.session->advanceTo(entry.clock.deviceTime(wall));
  entry.animating = lookAtPicture(entry);
  if (entry.animating || entry.session->humanLineCount() != lines) noteChange();
}

double SessionHost::housekeeping(double wall) {
  double next = wall + kLongestSleepSeconds;
  for (auto it = entries_.begin(); it != entries_.end();) {
    Entry& entry = *it->second;
    const double quiet = wall - entry.lastSeen;
    if (quiet > settings_.forgetSeconds) {
      it = entries_.erase(it);
      continue;
    }
    if (entry.clock.playing() && quiet > settings_.pageGoneSeconds) entry.clock.pause(wall);
    if (entry.clock.playing()) {
      sync(entry, wall);
      double due = wall + kLongestSleepSeconds;
      const double task = entry.session->nextTaskTime();
      if (task >= 0) due = std::min(due, entry.clock.wallTimeFor(task, wall));
      if (entry.animating) due = std::min(due, wall + kAnimationLookSeconds);
      next = std::min(next, due);
    }
    ++it;
  }
  return next;
}

void SessionHost::loop() {
  double nextLook = wallNow();
  while (true) {
    std::deque<std::function<void()>> jobs;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (entries_.empty()) {
        wake_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
      } else {
        const double wait = std::max(0.0, nextLook - wallNow());
        wake_.wait_for(lock, std::chrono::duration<double>(wait),
                       [&] { return stopping_ || !jobs_.empty(); });
      }
      if (stopping_) break;
      jobs.swap(jobs_);
    }
    for (auto& job : jobs) job();
    const double wall = wallNow();
    if (jobs.empty() || wall >= nextLook) nextLook = housekeeping(wall);
  }
  // Jobs still queued are answered, their sessions gone.
  std::deque<std::function<void()>> left;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    left.swap(jobs_);
  }
  closing_ = true;
  entries_.clear();
  for (auto& job : left) job();
  changed_.notify_all();
}

}  // namespace sim
