// The live sessions of `serve` and the one thread that runs their devices. Every request
// for a session is handed to that thread (with()), which first brings the session's device
// to the time its clock shows; between requests the thread wakes only when a playing
// device has something due (its next task, or a picture still changing) and then tells
// waiting requests that something changed. A session whose page has not asked anything for
// a while is paused, and after longer it is ended.
//
// All devices run on the one thread because the simulated device's processes are current per
// thread; it also keeps every session's device strictly single-threaded.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "sim/Scenario.h"
#include "sim/serve/LiveClock.h"
#include "sim/serve/LiveSession.h"

namespace sim {

class SessionHost {
 public:
  struct Settings {
    Scenario scenario;  // how a new session's device is set up
    std::size_t maxSessions = 8;
    double pageGoneSeconds = 45;  // no request for this long: the session is paused
    double forgetSeconds = 900;   // ... and after this long it ends
  };
  // One session: its device and its clock.
  struct Entry {
    std::unique_ptr<LiveSession> session;
    LiveClock clock;
    std::uint64_t pictureVersion = 1;  // goes up whenever the picture would change
    std::uint64_t lastSignature = 0;
    bool animating = false;  // the picture changed at the last look
    double lastSeen = 0;     // wall time of the last request
  };

  explicit SessionHost(Settings settings);
  ~SessionHost();
  SessionHost(const SessionHost&) = delete;
  SessionHost& operator=(const SessionHost&) = delete;

  // Runs `work` on the device thread with session `id`, made with the set-up scenario when it
  // is new, its device brought to its clock's time first. False with the reason in `error`
  // when there is no such session and none can be made.
  bool with(const std::string& id, const std::function<void(Entry&)>& work, std::string& error);
  // On the device thread, within with(): raises the entry's picture version when its picture
  // would show something else than at the last look; whether it did.
  static bool lookAtPicture(Entry& entry);
  // Gives session `id` a fresh device set up by `scenario` (a person opened a scenario),
  // playing from 0. False with the reason in `error`.
  bool restart(const std::string& id, Scenario scenario, std::string& error);

  // How a new session's device is set up; from any thread.
  const Scenario& setupScenario() const { return settings_.scenario; }

  // Counts every change any session made; waitForChange() returns once it differs from
  // `seen` or after `seconds`.
  std::uint64_t changes() const;
  void waitForChange(std::uint64_t seen, double seconds) const;
  // The server is stopping: waiting requests return at once, and no more wait.
  void stopWaiting();
  bool waitingStopped() const;

  // Seconds of a steady clock: the wall time of the sessions' clocks.
  static double wallNow();

 private:
  void loop();
  void post(const std::function<void()>& job);
  // The session, made when missing; null with `error` when it cannot be.
  Entry* entryFor(const std::string& id, std::string& error);
  // Brings the device to its clock and notes what changed.
  void sync(Entry& entry, double wall);
  void noteChange();
  // Pauses and ends sessions whose page is gone; when the thread next needs to wake.
  double housekeeping(double wall);

  Settings settings_;
  std::map<std::string, std::unique_ptr<Entry>> entries_;  // device thread only
  bool closing_ = false;                                   // device thread only

  mutable std::mutex mutex_;
  mutable std::condition_variable wake_;     // the device thread: a job, or stop
  mutable std::condition_variable changed_;  // waiting requests
  std::deque<std::function<void()>> jobs_;
  std::uint64_t changes_ = 0;
  bool stopping_ = false;
  bool waitingStopped_ = false;
  std::thread thread_;
};

}  // namespace sim
