// The event that a touch belongs to, handed to hitTest/pointInside. Views may ignore it.
#pragma once

#include <cstdint>

enum UIEventType : std::int64_t {
  UIEventTypeTouches = 0,
  UIEventTypeMotion = 1,
};

class UIEvent {
 public:
  UIEvent(UIEventType type, double timestamp) : type_(type), timestamp_(timestamp) {}
  UIEventType type() const { return type_; }
  double timestamp() const { return timestamp_; }  // virtual seconds of the device

 private:
  UIEventType type_;
  double timestamp_;
};
