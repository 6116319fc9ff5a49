// The floating button's geometry as pure decisions: its side length per scale type, its default
// place, whether a stored place is usable, and where a drag is kept inside the screen's
// margins. No views and no process state: VXFab asks the screen and keeps the record, these
// decide. Lengths in screen points, origin at the top-left corner, y downwards.
//
// Where the arithmetic is single precision the rounding is part of the contract: the device
// code works in single precision, and a place a hair past a margin in double may be on it in
// single.
#pragma once

#include <cstdint>
#include <optional>

#include "CoreGraphics/CGGeometry.h"

// Margins a drag keeps the button inside, in points.
inline constexpr float kVXFabSideMarginPoints = 5.0f;  // left, right and bottom
inline constexpr float kVXFabTopMarginPoints = 20.0f;

// 75 for scale type 2, 100 for 3, 50 for any other value (the whole value is compared).
float VXFabSideForScaleType(std::int32_t scaleType);

// Centred horizontally, top edge four side lengths above the screen's bottom edge. The
// products with `side` are single precision, widened; the sums double.
CGPoint VXFabDefaultOrigin(float side, CGSize screen);

// Where a button of `side` goes for a stored origin: the stored place when it is not (0, 0)
// and the frame lies on the screen (edges on the screen's edges count), else the default
// place. The two reasons are reported separately (both may hold) for the caller's log lines.
struct VXFabPlacement {
  CGRect frame;
  bool originIsZero = false;
  bool offScreen = false;
};
VXFabPlacement VXFabPlace(CGPoint storedOrigin, float side, CGRect screenBounds);

// The frame a drag event puts the button back to, judged on `before`, the frame from before the
// event, and the screen size: nullopt when it is inside the margins (the event's movement
// stands). All values are taken to single precision and compared strictly; the right margin
// wins over the left and the bottom over the top. The result keeps the unclamped axis's
// coordinate from `before` and the size in single precision.
std::optional<CGRect> VXFabClampedFrame(CGRect before, CGSize screen);
