// A process on the simulated device. Each has its own services (the frameworks' per-process
// facilities, such as its main run loop and its default notification centre, registered
// through ProcessService) and its own process-wide state: the singletons and records the
// system's code keeps "per process" live here through ProcessLocal, so ending and restarting
// a process gives them fresh.
//
// The process whose code is running is the "current" one (ProcessScope sets it). Code that
// runs outside any process (a plain unit test) gets a standalone process on a private device
// rooted in a temporary folder, one per thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Runtime/ProcessStatic.h"

class Device;
class Process;

// A facility a framework keeps once per process (its main run loop, its notification centre).
// The process makes it on first use and owns it until the process object itself goes; when
// the process ends, every service is told so after the process-wide state is destroyed, so
// that destructors of that state can still use the services.
class ProcessService {
 public:
  ProcessService() = default;
  virtual ~ProcessService() = default;
  ProcessService(const ProcessService&) = delete;
  ProcessService& operator=(const ProcessService&) = delete;

  // The process is ending: drop whatever still holds on to its code (timers, observers).
  // May be called more than once; the service stays usable afterwards.
  virtual void endProcess() = 0;
};

// How a kind of service is made, and where it ends in a teardown: services end in ascending
// `endOrder` (those of equal order in the order they were made). Declare one per kind, with
// static storage duration; its address identifies the kind.
struct ProcessServiceKind {
  int endOrder;
  std::unique_ptr<ProcessService> (*make)(Process& process);
};

class Process : public std::enable_shared_from_this<Process> {
 public:
  Process(Device& device, std::string name, std::uint64_t pid);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  const std::string& name() const { return name_; }
  std::uint64_t pid() const { return pid_; }
  Device& device() const { return device_; }
  bool isRunning() const { return running_; }

  // This process's service of `kind`, made on first use.
  ProcessService& service(const ProcessServiceKind& kind);

  // Loads the library the device knows under `name` (see Device::setLibraryLocation) and
  // runs its start-up initialisers in this process, in the order the library declares them.
  // A library whose initialisers this host already knows (loaded before, or linked in) is not
  // opened again. Loading it into the same process again does nothing, as with dlopen; a
  // fresh process runs the initialisers again. Returns false when the library cannot be
  // found or loaded.
  bool loadLibrary(std::string_view name);
  bool hasLoadedLibrary(std::string_view name) const;

  // Process-wide storage: one slot per key, made by `make` on first use in this process and
  // destroyed, in reverse order of creation, when the process ends.
  void* localSlot(const void* key, const std::function<std::shared_ptr<void>()>& make);

  // Tears the process down (Device::terminate calls this): state is destroyed with the
  // process current, so destructors that talk to its services still work; then its services
  // end (timers invalidated, then observers removed) and its pending tasks are dropped.
  // isRunning() is false from the start of the teardown. Idempotent.
  void terminate();

  // The innermost ProcessScope's process, else this thread's standalone process (named
  // "standalone", on a private device whose root folder is removed when the thread ends).
  static Process& current();
  static bool hasCurrent();  // false when only the standalone fallback would answer

 private:
  friend class ProcessScope;
  Device& device_;
  std::string name_;
  std::uint64_t pid_;
  bool running_ = true;
  void endServices();
  // Kept sorted by endOrder, stable in order of creation.
  std::vector<std::pair<const ProcessServiceKind*, std::unique_ptr<ProcessService>>> services_;
  std::vector<std::pair<const void*, std::shared_ptr<void>>> slots_;
  std::vector<std::string> libraries_;
};

// Makes `process` current for the scope's lifetime; scopes nest.
class ProcessScope {
 public:
  explicit ProcessScope(Process& process);
  ~ProcessScope();
  ProcessScope(const ProcessScope&) = delete;
  ProcessScope& operator=(const ProcessScope&) = delete;

 private:
  Process* previous_;
};

// A value that exists once per process (see gw::ProcessStatic, over the same slots):
//   static ProcessLocal<CGRect> FABFrameRecord;  ...  FABFrameRecord.get() = rect;
template <typename T>
using ProcessLocal = gw::ProcessStatic<T>;

// Declares a start-up initialiser of a library at host load time; the device's loader runs
// a library's initialisers in ascending `order` each time the library is loaded into a process.
class LibraryInitialisers {
 public:
  static bool declare(const std::string& library, int order, void (*initialiser)());
  static std::vector<void (*)()> forLibrary(std::string_view library);
};

// Libraries declare their initialisers with GW_LIBRARY_INITIALISER (Runtime/ProcessStatic.h),
// which registers them here.
