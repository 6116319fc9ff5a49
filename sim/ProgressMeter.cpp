#include "sim/ProgressMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sim {
namespace {

// Reading the wall clock costs little, but a replay sets the attitude a hundred times a
// second of device time: look at the clock only every few calls.
constexpr std::uint32_t kCallsBetweenClockReadings = 16;

}  // namespace

ProgressMeter::ProgressMeter(std::ostream& out, std::string label, double endSeconds)
    : out_(out),
      label_(std::move(label)),
      endSeconds_(endSeconds),
      started_(std::chrono::steady_clock::now()),
      lastDrawn_(started_) {}

ProgressMeter::~ProgressMeter() {
  clear();
}

std::string ProgressMeter::formatDuration(double seconds) {
  char buffer[64];
  if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
  if (seconds < 60) {
    std::snprintf(buffer, sizeof buffer, "%.1f s", seconds);
  } else if (seconds < 3600) {
    const auto whole = static_cast<long long>(seconds);
    std::snprintf(buffer, sizeof buffer, "%lld min %02lld s", whole / 60, whole % 60);
  } else {
    const auto minutes = static_cast<long long>(seconds / 60);
    std::snprintf(buffer, sizeof buffer, "%lld h %02lld min", minutes / 60, minutes % 60);
  }
  return buffer;
}

std::string ProgressMeter::line(const std::string& label, double deviceSeconds, double endSeconds) {
  std::string text =
      label + " " + formatDuration(deviceSeconds) + " of " + formatDuration(endSeconds);
  if (endSeconds > 0 && std::isfinite(deviceSeconds)) {
    const double share = std::clamp(deviceSeconds / endSeconds, 0.0, 1.0);
    text += " (" + std::to_string(static_cast<int>(share * 100)) + "%)";
  }
  return text;
}

void ProgressMeter::update(double deviceSeconds) {
  if (++calls_ % kCallsBetweenClockReadings != 0) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - started_ < kFirstShowAfter) return;
  // Also after clear(): a run printing many lines would otherwise redraw after each.
  if (drawnOnce_ && now - lastDrawn_ < kRedrawEvery) return;
  drawnOnce_ = true;
  lastDrawn_ = now;
  visible_ = true;
  // \r back to the start, the text, then erase what an older, longer line left.
  out_ << '\r' << line(label_, deviceSeconds, endSeconds_) << "\x1b[K" << std::flush;
}

void ProgressMeter::clear() {
  if (!visible_) return;
  visible_ = false;
  out_ << "\r\x1b[K" << std::flush;
}

}  // namespace sim
