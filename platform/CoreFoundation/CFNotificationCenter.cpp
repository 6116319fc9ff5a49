#include "CoreFoundation/CFNotificationCenter.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "Device/Device.h"
#include "Device/Process.h"
#include "Foundation/SimulatedRunLoop.h"

// The device's Darwin centre, kept as a device service: one per device, shared by its
// processes. Observer pointers are only meaningful inside their own process, so every
// registration is tied to the process (and its pid: a restarted process is a new one).
struct __CFNotificationCenter {
  struct Registration {
    std::uint64_t id;
    std::weak_ptr<Process> process;
    std::uint64_t pid;
    const void* observer;
    CFNotificationCallback callback;
    std::string name;
  };

  Device* device = nullptr;
  std::vector<Registration> registrations;
  std::uint64_t nextId = 1;

  static bool ended(const Registration& registration) {
    std::shared_ptr<Process> process = registration.process.lock();
    return !process || !process->isRunning() || process->pid() != registration.pid;
  }
  void forgetEndedProcesses() {
    registrations.erase(std::remove_if(registrations.begin(), registrations.end(), ended),
                        registrations.end());
  }
  bool isRegistered(std::uint64_t id) const {
    return std::any_of(registrations.begin(), registrations.end(),
                       [id](const Registration& r) { return r.id == id; });
  }
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
  Device& device = Device::current();
  auto& center = device.service<__CFNotificationCenter>();
  center.device = &device;
  return &center;
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, const std::string& name,
                                     const void* /*object*/,
                                     CFNotificationSuspensionBehavior /*suspensionBehavior*/) {
  if (center == nullptr || callback == nullptr || name.empty()) return;
  Process& process = Process::current();
  if (!process.isRunning()) return;
  center->forgetEndedProcesses();
  center->registrations.push_back(
      {center->nextId++, process.weak_from_this(), process.pid(), observer, callback, name});
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer) {
  if (center == nullptr) return;
  const std::uint64_t pid = Process::current().pid();
  auto& registrations = center->registrations;
  registrations.erase(
      std::remove_if(registrations.begin(), registrations.end(),
                     [&](const auto& r) { return r.pid == pid && r.observer == observer; }),
      registrations.end());
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const std::string& name,
                                          const void* /*object*/, CFDictionaryRef /*userInfo*/,
                                          bool /*deliverImmediately*/) {
  if (center == nullptr || center->device == nullptr) return;
  center->forgetEndedProcesses();
  center->device->emit("notify", EventFields{{"name", EventValue::string(name)}});
  // The receivers are fixed now; each checks again, when its turn comes, that it is still
  // registered. The centre outlives every task: both belong to the device.
  std::vector<__CFNotificationCenter::Registration> receivers;
  for (const auto& registration : center->registrations) {
    if (registration.name == name) receivers.push_back(registration);
  }
  for (const auto& receiver : receivers) {
    std::shared_ptr<Process> process = receiver.process.lock();
    if (!process) continue;
    SimulatedRunLoop& loop = SimulatedRunLoop::of(*process);
    loop.performAt(loop.now(), [center, receiver] {
      if (!center->isRegistered(receiver.id)) return;
      receiver.callback(center, const_cast<void*>(receiver.observer), receiver.name, nullptr,
                        nullptr);
    });
  }
}
