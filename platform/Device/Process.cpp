#include "Device/Process.h"

#include <dlfcn.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>

#include "Device/Device.h"
#include "Device/TemporaryFolder.h"

namespace {

thread_local Process* currentProcess = nullptr;

// The device that answers Process::current() on a thread where no process is current: a
// private device rooted in a fresh temporary folder, removed again when the thread ends.
class StandaloneHost {
 public:
  StandaloneHost() : root_("gyrowhirl-standalone-") {
    // Should no fresh folder be had, a fixed one stands in, and is left in place afterwards.
    device_ = Device::create(root_.valid() ? root_.path()
                                           : std::filesystem::path("/tmp/gyrowhirl-standalone"));
  }
  ~StandaloneHost() { device_.reset(); }
  StandaloneHost(const StandaloneHost&) = delete;
  StandaloneHost& operator=(const StandaloneHost&) = delete;

  // Launched again if someone ended it.
  Process& process() {
    std::shared_ptr<Process> process = device_->process(kName);
    if (!process) process = device_->launch(kName);
    return *process;
  }

 private:
  static constexpr const char* kName = "standalone";
  TemporaryFolder root_;  // outlives the device
  std::shared_ptr<Device> device_;
};

thread_local std::unique_ptr<StandaloneHost> standaloneHost;

// Libraries declare their initialisers while the host loads them (static construction),
// possibly before main() and on whichever thread calls dlopen.
struct InitialiserRegistry {
  struct Entry {
    std::string library;
    int order;
    std::uint64_t sequence;
    void (*initialiser)();
  };
  std::mutex mutex;
  std::vector<Entry> entries;
  std::uint64_t nextSequence = 0;
};

InitialiserRegistry& initialiserRegistry() {
  static InitialiserRegistry registry;
  return registry;
}

}  // namespace

// ---- Process ------------------------------------------------------------------------------

Process::Process(Device& device, std::string name, std::uint64_t pid)
    : device_(device), name_(std::move(name)), pid_(pid) {}

Process::~Process() {
  terminate();
  // Newest first within each end order, the latest ending first: those ending last go last.
  while (!services_.empty()) {
    std::unique_ptr<ProcessService> service = std::move(services_.back().second);
    services_.pop_back();
    service.reset();
  }
}

ProcessService& Process::service(const ProcessServiceKind& kind) {
  for (auto& entry : services_) {
    if (entry.first == &kind) return *entry.second;
  }
  std::unique_ptr<ProcessService> made = kind.make(*this);
  for (auto& entry : services_) {
    if (entry.first == &kind) return *entry.second;  // `make` asked for its own kind
  }
  auto at =
      std::upper_bound(services_.begin(), services_.end(), kind.endOrder,
                       [](int order, const auto& entry) { return order < entry.first->endOrder; });
  return *services_.emplace(at, &kind, std::move(made))->second;
}

void Process::endServices() {
  // By index, as ending one service may make another; the second pass of a teardown ends
  // any made this way.
  for (std::size_t i = 0; i < services_.size(); ++i) services_[i].second->endProcess();
}

void* Process::localSlot(const void* key, const std::function<std::shared_ptr<void>()>& make) {
  for (auto& slot : slots_) {
    if (slot.first == key) return slot.second.get();
  }
  // Made before it is recorded: slots that `make` creates in turn come first, so they are
  // destroyed after the one that may depend on them.
  std::shared_ptr<void> value = make();
  for (auto& slot : slots_) {
    if (slot.first == key) return slot.second.get();  // `make` asked for its own key
  }
  slots_.emplace_back(key, value);
  return value.get();
}

void Process::terminate() {
  if (!running_) return;
  // Not running from here on: nothing new is scheduled for it, and a nested terminate() from
  // a destructor does nothing.
  running_ = false;
  ProcessScope scope(*this);
  auto tearDown = [this] {
    // One at a time, newest first; a destructor may still reach (or even recreate) others.
    while (!slots_.empty()) {
      std::shared_ptr<void> slot = std::move(slots_.back().second);
      slots_.pop_back();
      slot.reset();
    }
    endServices();
  };
  tearDown();
  device_.dropTasksOf(*this);
  tearDown();  // whatever the destructors of dropped tasks made in turn
}

bool Process::hasLoadedLibrary(std::string_view name) const {
  return std::find(libraries_.begin(), libraries_.end(), name) != libraries_.end();
}

bool Process::loadLibrary(std::string_view name) {
  if (hasLoadedLibrary(name)) return true;  // as with dlopen, initialisers run once
  if (!running_) return false;
  const std::string library(name);
  std::vector<void (*)()> initialisers = LibraryInitialisers::forLibrary(library);
  if (initialisers.empty()) {
    // Not in this host yet: loading the file runs its static constructors, which declare the
    // initialisers. The handle is kept for the life of the host, as the code stays in use.
    std::filesystem::path file = device_.libraryLocation(library);
    if (file.empty()) return false;
    if (dlopen(file.c_str(), RTLD_NOW | RTLD_GLOBAL) == nullptr) return false;
    initialisers = LibraryInitialisers::forLibrary(library);
  }
  libraries_.push_back(library);
  ProcessScope scope(*this);
  for (auto* initialiser : initialisers) initialiser();
  return true;
}

Process& Process::current() {
  if (currentProcess != nullptr) return *currentProcess;
  if (!standaloneHost) standaloneHost = std::make_unique<StandaloneHost>();
  return standaloneHost->process();
}

bool Process::hasCurrent() {
  return currentProcess != nullptr;
}

// ---- ProcessScope ---------------------------------------------------------------------------

ProcessScope::ProcessScope(Process& process) : previous_(currentProcess) {
  currentProcess = &process;
}

ProcessScope::~ProcessScope() {
  currentProcess = previous_;
}

// ---- LibraryInitialisers --------------------------------------------------------------------

bool LibraryInitialisers::declare(const std::string& library, int order, void (*initialiser)()) {
  if (initialiser == nullptr) return false;
  InitialiserRegistry& registry = initialiserRegistry();
  std::lock_guard lock(registry.mutex);
  registry.entries.push_back({library, order, registry.nextSequence++, initialiser});
  return true;
}

std::vector<void (*)()> LibraryInitialisers::forLibrary(std::string_view library) {
  InitialiserRegistry& registry = initialiserRegistry();
  std::vector<InitialiserRegistry::Entry> matching;
  {
    std::lock_guard lock(registry.mutex);
    for (const auto& entry : registry.entries) {
      if (entry.library == library) matching.push_back(entry);
    }
  }
  std::sort(matching.begin(), matching.end(), [](const auto& a, const auto& b) {
    return a.order != b.order ? a.order < b.order : a.sequence < b.sequence;
  });
  std::vector<void (*)()> initialisers;
  initialisers.reserve(matching.size());
  for (const auto& entry : matching) initialisers.push_back(entry.initialiser);
  return initialisers;
}
