#include "sim/pictures/FrameRecorder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "Device/Device.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UIViewInspection.h"
#include "UIKit/UIWindow.h"
#include "sim/pictures/PixelCount.h"
#include "sim/pictures/SpringBoardPainter.h"

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

// Alpha in flight counts in steps of this fraction: a fade makes a frame a step.
constexpr double kAlphaSteps = 64;

// FNV-1a over the bytes of what is added.
class Digest {
 public:
  void add(std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
      hash_ ^= (value >> (i * 8)) & 0xFF;
      hash_ *= 1099511628211ull;
    }
  }
  void add(double value) {
    std::uint64_t bits = 0;
    if (value == 0) value = 0;  // -0 and 0 draw alike
    std::memcpy(&bits, &value, sizeof bits);
    add(bits);
  }
  void add(bool value) { add(static_cast<std::uint64_t>(value)); }
  void add(long long value) { add(static_cast<std::uint64_t>(value)); }
  void add(std::string_view text) {
    add(static_cast<std::uint64_t>(text.size()));
    for (unsigned char c : text) add(static_cast<std::uint64_t>(c));
  }
  void add(const void* pointer) {
    add(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer)));
  }
  void add(const UIColor& color) {
    add(color.red());
    add(color.green());
    add(color.blue());
    add(color.alpha());
  }
  void add(const CGRect& rect) {
    add(rect.origin.x);
    add(rect.origin.y);
    add(rect.size.width);
    add(rect.size.height);
  }
  std::uint64_t value() const { return hash_; }

 private:
  std::uint64_t hash_ = 1469598103934665603ull;
};

void digestView(Digest& digest, const UIView& view, double time) {
  digest.add(view.className());
  digest.add(view.isHidden());
  if (view.isHidden()) return;
  digest.add(std::round(
      std::clamp(UIViewInspection::presentationAlphaAtTime(view, time), 0.0, 1.0) * kAlphaSteps));
  digest.add(view.frame());
  digest.add(view.bounds());
  const CGAffineTransform& t = view.transform();
  for (double part : {t.a, t.b, t.c, t.d, t.tx, t.ty}) digest.add(part);
  digest.add(view.backgroundColor().has_value());
  if (view.backgroundColor()) digest.add(*view.backgroundColor());
  digest.add(view.clipsToBounds());
  digest.add(view.layer()->cornerRadius());
  digest.add(view.layer()->borderWidth());
  digest.add(view.layer()->borderColor());
  if (const auto* button = dynamic_cast<const UIButton*>(&view)) {
    digest.add(static_cast<const void*>(button->currentBackgroundImage().get()));
    digest.add(static_cast<const void*>(button->imageForState(button->state()).get()));
  } else if (const auto* label = dynamic_cast<const UILabel*>(&view)) {
    digest.add(std::string_view(label->text()));
    digest.add(label->textColor());
    digest.add(static_cast<long long>(label->textAlignment()));
    digest.add(static_cast<long long>(label->numberOfLines()));
    if (label->font()) {
      digest.add(std::string_view(label->font()->fontName()));
      digest.add(label->font()->pointSize());
    }
  } else if (const auto* imageView = dynamic_cast<const UIImageView*>(&view)) {
    digest.add(static_cast<const void*>(imageView->image().get()));
  }
  digest.add(static_cast<std::uint64_t>(view.subviews().size()));
  for (const auto& subview : view.subviews()) {
    if (subview) digestView(digest, *subview, time);
  }
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
  const std::uint64_t signature = sceneSignature(device, now);
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
        sceneSignature(device, now) != sceneSignature(device, stop)) {
      stop = std::min(stop, now + kAnimationStepSeconds);
    }
    device.runUntil(stop);
    ok = capture(device) && ok;
    if (stop >= time) return ok;
  }
}

std::uint64_t FrameRecorder::sceneSignature(DeviceRenderer& renderer, Device& device, double time) {
  const SpringBoardScene scene = DeviceRenderer::sceneOf(device, time);
  Digest digest;
  digest.add(scene.screen.width);
  digest.add(scene.screen.height);
  digest.add(std::string_view(DeviceRenderer::howHeld(device)));
  digest.add(std::string_view(scene.frontBundleId));
  digest.add(scene.orientation);
  digest.add(scene.deviceLocked);
  digest.add(scene.orientationLocked);
  digest.add(static_cast<std::uint64_t>(scene.installedApps.size()));
  for (const std::string& app : scene.installedApps) digest.add(std::string_view(app));
  for (const auto& visible : UIScreenHardware::of(device).windowsFrontToBack()) {
    if (!visible.window) continue;
    digest.add(visible.window->windowLevel());
    digestView(digest, *visible.window, time);
  }
  if (const auto page = renderer.settingsPage(device)) {
    digest.add(std::string_view(page->title));
    digest.add(static_cast<long long>(page->rowInView));
    if (page->view) digestView(digest, *page->view, time);
    for (const ListRow& row : page->rows) {
      digest.add(static_cast<long long>(row.kind));
      digest.add(std::string_view(row.title));
      digest.add(std::string_view(row.value));
      digest.add(row.on);
      digest.add(static_cast<long long>(row.selected));
      digest.add(row.fraction);
    }
  } else {
    digest.add(std::string_view("no page"));
  }
  for (const AlertContent& alert : renderer.alerts(device)) {
    digest.add(std::string_view(alert.title));
    digest.add(std::string_view(alert.message));
    for (const AlertButton& action : alert.actions) {
      digest.add(std::string_view(action.title));
      digest.add(static_cast<long long>(action.style));
    }
  }
  return digest.value();
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
