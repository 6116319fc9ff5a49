// UIKit's impact haptics. Every impact is emitted as the device event "haptic" with "style"
// (the UIImpactFeedbackStyle value), so that an observer can see what the user would feel.
#pragma once

#include <cstdint>
#include <memory>

enum UIImpactFeedbackStyle : std::int64_t {
  UIImpactFeedbackStyleLight = 0,
  UIImpactFeedbackStyleMedium = 1,
  UIImpactFeedbackStyleHeavy = 2,
  UIImpactFeedbackStyleSoft = 3,
  UIImpactFeedbackStyleRigid = 4,
};

class UIImpactFeedbackGenerator {
 public:
  explicit UIImpactFeedbackGenerator(std::int64_t style) : style_(style) {}
  // initWithStyle: — any value is kept as given; the hardware plays unknown ones as it can.
  static std::shared_ptr<UIImpactFeedbackGenerator> initWithStyle(std::int64_t style) {
    return std::make_shared<UIImpactFeedbackGenerator>(style);
  }

  std::int64_t style() const { return style_; }
  void prepare() {}
  void impactOccurred();

 private:
  std::int64_t style_;
};
