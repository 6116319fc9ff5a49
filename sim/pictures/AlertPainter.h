// Draws an alert as the platform shows one: the screen dimmed, and a card in its middle with
// the title, the message and the action buttons. For alerts the platform keeps as data rather
// than as views in a window; DeviceRenderer draws them at the alert window level.
#pragma once

#include <string>
#include <vector>

#include "CoreGraphics/CGGeometry.h"

typedef struct _cairo cairo_t;

namespace sim {

struct AlertButton {
  enum class Style { Default, Cancel, Destructive };  // cancel in bold, destructive in red
  std::string title;
  Style style = Style::Default;
};

struct AlertContent {
  std::string title;
  std::string message;
  std::vector<AlertButton> actions;  // in order
};

class AlertPainter {
 public:
  static constexpr double kCardWidthPoints = 270;

  // `screen` is the size of the area to dim, in the coordinates of `cr`.
  static void draw(cairo_t* cr, const CGSize& screen, const AlertContent& alert);
};

}  // namespace sim
