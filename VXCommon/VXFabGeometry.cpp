#include "VXCommon/VXFabGeometry.h"

float VXFabSideForScaleType(std::int32_t scaleType) {
  if (scaleType == 2) return 75.0f;
  if (scaleType == 3) return 100.0f;
  return 50.0f;
}

CGPoint VXFabDefaultOrigin(float side, CGSize screen) {
  const double x = screen.width * 0.5 + static_cast<double>(side * -0.5f);
  const double y = screen.height + static_cast<double>(side * -4.0f);
  return CGPointMake(x, y);
}

VXFabPlacement VXFabPlace(CGPoint storedOrigin, float side, CGRect screenBounds) {
  const double length = side;
  VXFabPlacement placement;
  placement.frame = CGRectMake(storedOrigin.x, storedOrigin.y, length, length);
  placement.originIsZero = storedOrigin.x == 0 && storedOrigin.y == 0;
  placement.offScreen = !CGRectContainsRect(screenBounds, placement.frame);
  if (placement.originIsZero || placement.offScreen) {
    const CGPoint place = VXFabDefaultOrigin(side, screenBounds.size);
    placement.frame = CGRectMake(place.x, place.y, length, length);
  }
  return placement;
}

std::optional<CGRect> VXFabClampedFrame(CGRect before, CGSize screen) {
  const float width = static_cast<float>(screen.width);
  const float height = static_cast<float>(screen.height);
  const float x = static_cast<float>(before.origin.x);
  const float y = static_cast<float>(before.origin.y);
  const float w = static_cast<float>(before.size.width);
  const float h = static_cast<float>(before.size.height);
  bool clamped = false;
  float clampedX = x;
  float clampedY = y;
  if (x < kVXFabSideMarginPoints) {
    clampedX = kVXFabSideMarginPoints;
    clamped = true;
  }
  if (x + w > width - kVXFabSideMarginPoints) {
    clampedX = width - w - kVXFabSideMarginPoints;
    clamped = true;
  }
  if (y < kVXFabTopMarginPoints) {
    clampedY = kVXFabTopMarginPoints;
    clamped = true;
  }
  if (y + h > height - kVXFabSideMarginPoints) {
    clampedY = height - h - kVXFabSideMarginPoints;
    clamped = true;
  }
  if (!clamped) return std::nullopt;
  return CGRectMake(clampedX, clampedY, w, h);
}
