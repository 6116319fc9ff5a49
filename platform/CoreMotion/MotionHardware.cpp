#include "CoreMotion/MotionHardware.h"

#include <vector>

#include "Device/Device.h"

MotionHardware& MotionHardware::of(Device& device) {
  auto& hardware = device.service<MotionHardware>();
  hardware.device_ = &device;
  return hardware;
}

std::shared_ptr<MotionHardware> MotionHardware::shared(Device& device) {
  // The device made it with std::make_shared and owns it.
  return of(device).shared_from_this();
}

MotionHardware& MotionHardware::current() {
  return of(Device::current());
}

void MotionHardware::setAttitude(double rollRadians, double pitchRadians) {
  attitude_ = CMAttitude(rollRadians, pitchRadians);
  attitudeTimestamp_ = device_ ? device_->now() : 0;
  // An observer may remove itself (or another) while being told.
  std::vector<int> tokens;
  tokens.reserve(observers_.size());
  for (const auto& entry : observers_) tokens.push_back(entry.first);
  for (int token : tokens) {
    auto it = observers_.find(token);
    if (it == observers_.end()) continue;
    AttitudeObserver observer = it->second;
    observer(attitude_);
  }
}

int MotionHardware::addAttitudeObserver(AttitudeObserver observer) {
  int token = nextObserver_++;
  observers_.emplace(token, std::move(observer));
  return token;
}

void MotionHardware::removeAttitudeObserver(int token) {
  observers_.erase(token);
}
