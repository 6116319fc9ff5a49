#include "sim/pictures/AlertPainter.h"

#include <algorithm>

#include "sim/pictures/CairoCanvas.h"
#include "sim/pictures/TextLayout.h"

namespace sim {
namespace {

constexpr double kPaddingPoints = 16;
constexpr double kButtonHeightPoints = 44;
const Rgba kSeparator = rgbHex(0x3C3C43, 0.29);
const Rgba kTint = rgbHex(0x007AFF);
const Rgba kDestructive = rgbHex(0xFF3B30);
// Baseline to baseline, in font sizes.
constexpr double kTitleLineSpacing = 22.0 / 17;
constexpr double kMessageLineSpacing = 17.0 / 13;

}  // namespace

void AlertPainter::draw(cairo_t* cr, const CGSize& screen, const AlertContent& alert) {
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, screen.width, screen.height);
  CairoCanvas::setColor(cr, Rgba{0, 0, 0, 0.35});
  cairo_fill(cr);

  const double width = std::min(kCardWidthPoints, screen.width - 24);
  const TextStyle title{17, Weight::Bold, Rgba{0, 0, 0, 1}, Align::Center};
  const TextStyle message{13, Weight::Regular, Rgba{0, 0, 0, 1}, Align::Center};
  // The title and the message wrap to the card's width; every line is shown.
  const double textWidth = width - 2 * kPaddingPoints;
  const TextLayout titleText(cr, alert.title, title, textWidth, 0, kTitleLineSpacing);
  const TextLayout messageText(cr, alert.message, message, textWidth, 0, kMessageLineSpacing);
  const double titleHeight = alert.title.empty() ? 0 : titleText.logical().height;
  const double messageHeight = alert.message.empty() ? 0 : messageText.logical().height + 4;
  // Two actions sit side by side; one or more than two are stacked.
  const bool sideBySide = alert.actions.size() == 2;
  const std::size_t buttonRows = sideBySide ? 1 : alert.actions.size();
  const double textHeight = kPaddingPoints + 4 + titleHeight + messageHeight + kPaddingPoints;
  const double height = textHeight + buttonRows * kButtonHeightPoints;
  const double x = (screen.width - width) / 2;
  const double y = (screen.height - height) / 2;

  CairoCanvas::roundedRectangle(cr, x, y, width, height, 14);
  CairoCanvas::setColor(cr, rgbHex(0xF2F2F2, 0.97));
  cairo_fill(cr);

  if (!alert.title.empty()) titleText.draw(cr, x + kPaddingPoints, y + kPaddingPoints + 4);
  if (!alert.message.empty()) {
    messageText.draw(cr, x + kPaddingPoints, y + kPaddingPoints + 8 + titleHeight);
  }

  cairo_set_line_width(cr, 0.5);
  for (std::size_t i = 0; i < alert.actions.size(); ++i) {
    const std::size_t row = sideBySide ? 0 : i;
    const double cellWidth = sideBySide ? width / 2 : width;
    const double cellX = x + (sideBySide ? cellWidth * static_cast<double>(i) : 0);
    const double cellY = y + textHeight + kButtonHeightPoints * static_cast<double>(row);
    CairoCanvas::setColor(cr, kSeparator);
    cairo_move_to(cr, cellX, cellY);
    cairo_line_to(cr, cellX + cellWidth, cellY);
    if (sideBySide && i == 1) {
      cairo_move_to(cr, cellX, cellY);
      cairo_line_to(cr, cellX, cellY + kButtonHeightPoints);
    }
    cairo_stroke(cr);
    const AlertButton& button = alert.actions[i];
    TextStyle action{
        17, button.style == AlertButton::Style::Cancel ? Weight::Bold : Weight::Regular,
        button.style == AlertButton::Style::Destructive ? kDestructive : kTint, Align::Center};
    CairoCanvas::drawText(cr, button.title, cellX + cellWidth / 2, cellY + 28, action,
                          cellWidth - 12);
  }
  cairo_restore(cr);
}

}  // namespace sim
