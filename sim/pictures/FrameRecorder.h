// Writes the frames of a run (`--render DIR`): a picture of the device at every visible
// change, and at the end the contact sheet "storyboard.png" of the key frames.
//
// The runner advances the device's clock through advance() instead of Device::runUntil(), so
// that the recorder can look at the screen after every task and through every fade (a frame
// every kAnimationStepSeconds while something other than a spin is animating); after an
// action it performs itself it calls capture(). What happened comes from the timeline through
// note(): the notes since the last frame caption the next frame that shows a change, and a
// change that shows nothing (a report, a file written) leaves no frame and its note is dropped.
//
//   FrameRecorder frames(dir);
//   frames.advance(device, action.time);   // instead of device.runUntil(action.time)
//   perform(action);
//   frames.capture(device);
//   ... on every timeline event: frames.note("button shown at (150, 367)");
//   frames.finish("Showcase");             // writes storyboard.png
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "sim/pictures/DeviceRenderer.h"
#include "sim/pictures/Storyboard.h"

class Device;

namespace sim {

class FrameRecorder {
 public:
  static constexpr double kAnimationStepSeconds = 0.1;
  // The storyboard shows at most this many frames, spread over the run.
  static constexpr std::size_t kMaxStoryboardFrames = 24;
  static constexpr const char* kStoryboardFileName = "storyboard.png";

  // `minimumIntervalSeconds`: frames closer together than this are skipped (the change then
  // shows in the next frame); 0 keeps every change, a replay of hours may want more.
  explicit FrameRecorder(std::filesystem::path directory, RenderOptions options = {},
                         double minimumIntervalSeconds = 0);

  // The renderer, for its sources and painters (settings page, alerts).
  DeviceRenderer& renderer() { return renderer_; }

  // What just happened, in plain words, for the caption of the next frame.
  void note(std::string text);
  // Writes a frame of the device now when the screen differs from the last frame. False when
  // writing failed (see error()); recording goes on.
  bool capture(Device& device);
  // Runs the device until `time`, capturing after every task and through animations.
  bool advance(Device& device, double time);
  // Writes storyboard.png from the frames that carry a caption (spread over the run when
  // there are many); false when it cannot be written.
  bool finish(std::string_view title);

  // A digest of what a frame at `time` would show, leaving out the clock, the caption, the
  // spinning of layers and the view painters' own content: two moments with equal digests
  // look the same but for those, so the second makes no frame. Alpha in flight counts in
  // steps of 1/64; of the phone's tilt only the way it is held (upright, on an edge, upside
  // down, flat), so a trace's jitter makes no new frames.
  std::uint64_t sceneSignature(Device& device, double time) {
    return sceneSignature(renderer_, device, time);
  }
  // The same digest for a scene drawn by `renderer` (a live view that draws without recording).
  static std::uint64_t sceneSignature(DeviceRenderer& renderer, Device& device, double time);

  const std::vector<StoryboardFrame>& frames() const { return frames_; }
  const std::filesystem::path& directory() const { return directory_; }
  const std::string& error() const { return error_; }

 private:
  bool write(Device& device, double time, std::uint64_t signature);

  std::filesystem::path directory_;
  DeviceRenderer renderer_;
  double minimumIntervalSeconds_;
  std::vector<StoryboardFrame> frames_;
  std::vector<std::string> notes_;
  bool anyFrame_ = false;
  std::uint64_t lastSignature_ = 0;
  double lastFrameTime_ = 0;
  std::string error_;
};

}  // namespace sim
