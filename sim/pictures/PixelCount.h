// Picture sizes and positions computed in floating point, turned into whole pixels.
#pragma once

namespace sim {

// The largest side of a picture in pixels (cairo's limit for an image surface).
inline constexpr int kMaxPixelCount = 32767;

// `value` truncated to whole pixels within 0..kMaxPixelCount; NaN is 0. A plain conversion of
// a value beyond int's range is undefined behaviour.
constexpr int pixelCount(double value) {
  if (!(value > 0)) return 0;
  if (value >= kMaxPixelCount) return kMaxPixelCount;
  return static_cast<int>(value);
}

}  // namespace sim
