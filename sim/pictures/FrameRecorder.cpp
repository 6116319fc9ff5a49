#include "sim/pictures/FrameRecorder.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "Device/Device.h"
#include "sim/pictures/PixelCount.h"

namespace sim {
namespace {

// A caption keeps the first few notes of a busy moment.
constexpr std::size_t kMaxNotesPerCaption = 4;

std::string joined(const std::vector<std::string>& notes) {
  std::string text;
  for (std::size_t i = 0; i < notes.size() && i < kMaxNotesPerCaption; ++i) {
    if (!text.empty()) text += "; ";
    text += notes[i];
  }
  if (notes.size() > kMaxNotesPerCaption) text += "; \u2026";
  return text;
}

}  // namespace

FrameRecorder::FrameRecorder(std::filesystem::path directory, RenderOptions options,
                             double minimumIntervalSeconds)
    : directory_(std::move(directory)),
      renderer_(options),
      minimumIntervalSeconds_(
          std::isfinite(minimumIntervalSeconds) ? std::max(0.0, minimumIntervalSeconds) : 0.0) {}

void FrameRecorder::note(std::string text) {
  if (!text.empty()) notes_.push_back(std::move(text));
}

bool FrameRecorder::capture(Device& device) {
  const double now = device.now();
  // Within the interval nothing is looked at; the notes wait for the next frame.
  if (anyFrame_ && now - lastFrameTime_ < minimumIntervalSeconds_) return true;
  const std::uint64_t signature = renderer_.sceneSignature(device, now);
  if (anyFrame_ && signature == lastSignature_) {
    notes_.clear();  // what happened shows nothing
    return true;
  }
  return write(device, now, signature);
}

bool FrameRecorder::advance(Device& device, double time) {
  bool ok = true;
  const bool stepThroughAnimations = minimumIntervalSeconds_ <= kAnimationStepSeconds;
  while (true) {
    const double now = device.now();
    if (!(time > now)) {
      device.runUntil(now);
      return capture(device) && ok;
    }
    const double next = device.nextTaskTime();
    double stop = next >= 0 && next <= time ? std::max(next, now) : time;
    // Something presented differently by the next stop is animating: step through it.
    if (stepThroughAnimations && stop > now &&
        renderer_.sceneSignature(device, now) != renderer_.sceneSignature(device, stop)) {
      stop = std::min(stop, now + kAnimationStepSeconds);
    }
    device.runUntil(stop);
    ok = capture(device) && ok;
    if (stop >= time) return ok;
  }
}

bool FrameRecorder::write(Device& device, double time, std::uint64_t signature) {
  std::string caption = joined(notes_);
  notes_.clear();
  std::string error;
  const auto file = renderer_.writeFrame(device, time, directory_, caption, error);
  if (!file) {
    error_ = error;
    return false;
  }
  anyFrame_ = true;
  lastSignature_ = signature;
  lastFrameTime_ = time;
  const CGRect phone = renderer_.phoneBoundsInImage(device);
  StoryboardFrame frame{time,
                        std::move(caption),
                        *file,
                        {pixelCount(phone.origin.x), pixelCount(phone.origin.y),
                         pixelCount(phone.size.width), pixelCount(phone.size.height)},
                        {}};
  for (const CGRect& button : renderer_.buttonBoundsInImage(device, time)) {
    frame.marks.push_back(
        {button.origin.x, button.origin.y, button.size.width, button.size.height});
  }
  // Two frames of one millisecond share a file: the later picture replaced the earlier one.
  if (!frames_.empty() && frames_.back().png == frame.png) {
    if (!frames_.back().caption.empty() && !frame.caption.empty()) {
      frame.caption = frames_.back().caption + "; " + frame.caption;
    } else if (frame.caption.empty()) {
      frame.caption = frames_.back().caption;
    }
    frames_.back() = std::move(frame);
  } else {
    frames_.push_back(std::move(frame));
  }
  return true;
}

bool FrameRecorder::finish(std::string_view title) {
  std::vector<StoryboardFrame> key;
  for (const StoryboardFrame& frame : frames_) {
    if (!frame.caption.empty()) key.push_back(frame);
  }
  if (key.empty()) key = frames_;
  if (key.size() > kMaxStoryboardFrames) {
    // Spread over the run, the first and the last included.
    std::vector<StoryboardFrame> spread;
    for (std::size_t i = 0; i < kMaxStoryboardFrames; ++i) {
      spread.push_back(key[i * (key.size() - 1) / (kMaxStoryboardFrames - 1)]);
    }
    key = std::move(spread);
  }
  std::error_code code;
  std::filesystem::create_directories(directory_, code);
  std::string error;
  if (!Storyboard::write(key, directory_ / kStoryboardFileName, title, error)) {
    error_ = error;
    return false;
  }
  return true;
}

}  // namespace sim
