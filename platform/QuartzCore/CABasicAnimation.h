// Core Animation's basic animation: one key path of a layer driven from one value to another,
// linearly, on the device's virtual clock. Only presentation changes: the layer's model
// values (and the view's frame and transform) stay as they are while it runs.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Foundation/Value.h"

class CABasicAnimation {
 public:
  // How long one cycle lasts when no duration is set, as Core Animation does.
  static constexpr double kDefaultDurationSeconds = 0.25;

  explicit CABasicAnimation(std::string keyPath) : keyPath_(std::move(keyPath)) {}
  static std::shared_ptr<CABasicAnimation> animationWithKeyPath(std::string keyPath);

  const std::string& keyPath() const { return keyPath_; }
  const Foundation::Value& fromValue() const { return fromValue_; }
  void setFromValue(Foundation::Value value) { fromValue_ = std::move(value); }
  const Foundation::Value& toValue() const { return toValue_; }
  void setToValue(Foundation::Value value) { toValue_ = std::move(value); }

  // Seconds of one cycle; 0 (the initial value) means kDefaultDurationSeconds.
  double duration() const { return duration_; }
  void setDuration(double seconds) { duration_ = seconds; }
  // Number of cycles, fractions allowed; 0 means one. HUGE_VALF repeats for ever.
  float repeatCount() const { return repeatCount_; }
  void setRepeatCount(float count) { repeatCount_ = count; }
  // Virtual time (device seconds) at which the first cycle starts. 0 until the animation is
  // added to a layer, which sets it to the time of adding.
  double beginTime() const { return beginTime_; }
  void setBeginTime(double seconds) { beginTime_ = seconds; }
  // Whether the layer drops the animation once it has ended (true, as in Core Animation).
  bool isRemovedOnCompletion() const { return removedOnCompletion_; }
  void setRemovedOnCompletion(bool remove) { removedOnCompletion_ = remove; }

  double effectiveDurationSeconds() const;
  // duration × repeat count (at least one cycle); infinity when it repeats for ever.
  double activeDurationSeconds() const;
  double endTime() const { return beginTime_ + activeDurationSeconds(); }
  // True from beginTime (inclusive) to endTime (exclusive).
  bool isActiveAtTime(double time) const;
  // The presented value at `time` for numeric from/to values (a missing one counts as 0), or
  // nullopt when the animation is not active then.
  std::optional<double> valueAtTime(double time) const;

 private:
  std::string keyPath_;
  Foundation::Value fromValue_;
  Foundation::Value toValue_;
  double duration_ = 0;
  float repeatCount_ = 0;
  double beginTime_ = 0;
  bool removedOnCompletion_ = true;
};
