#include "sim/pictures/Storyboard.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <utility>

#include "sim/pictures/CairoCanvas.h"

namespace sim {
namespace {

constexpr double kPadding = 24;
constexpr double kTitleHeight = 58;
constexpr double kCellInset = 10;
constexpr double kCaptionLineHeight = 17;
constexpr int kCaptionLines = 3;
constexpr double kCaptionHeight = 30 + kCaptionLines * kCaptionLineHeight;
constexpr double kMarkWidth = 2.5;
const Rgba kMarkColour = rgbHex(0xFFCC00);

// A PNG file as a cairo surface; null when it cannot be read.
cairo_surface_t* loadPng(const std::filesystem::path& path) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.string().c_str());
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  return surface;
}

void drawThumbnail(cairo_t* cr, const StoryboardFrame& frame, double x, double y, double width,
                   double height) {
  cairo_surface_t* surface = loadPng(frame.png);
  if (!surface) {
    cairo_rectangle(cr, x, y, width, height);
    CairoCanvas::setColor(cr, rgbHex(0xD1D1D6));
    cairo_fill(cr);
    TextStyle missing{13, Weight::Regular, rgbHex(0x48484A), Align::Center};
    CairoCanvas::drawText(cr, "cannot read", x + width / 2, y + height / 2 - 8, missing);
    CairoCanvas::drawText(cr, frame.png.filename().string(), x + width / 2, y + height / 2 + 12,
                          missing, width - 12);
    return;
  }
  const int fullWidth = cairo_image_surface_get_width(surface);
  const int fullHeight = cairo_image_surface_get_height(surface);
  // The crop, kept inside the picture; the whole picture when there is none left.
  const int cropX = std::clamp(frame.crop.x, 0, fullWidth);
  const int cropY = std::clamp(frame.crop.y, 0, fullHeight);
  int cropWidth = std::min(frame.crop.width, fullWidth - cropX);
  int cropHeight = std::min(frame.crop.height, fullHeight - cropY);
  double sourceX = cropX, sourceY = cropY;
  if (cropWidth <= 0 || cropHeight <= 0) {
    sourceX = sourceY = 0;
    cropWidth = fullWidth;
    cropHeight = fullHeight;
  }
  const double scale = std::min(width / cropWidth, height / cropHeight);
  cairo_save(cr);
  cairo_translate(cr, x + (width - cropWidth * scale) / 2, y + (height - cropHeight * scale) / 2);
  cairo_rectangle(cr, 0, 0, cropWidth * scale, cropHeight * scale);
  cairo_clip(cr);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, surface, -sourceX, -sourceY);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BEST);
  cairo_paint(cr);
  // Rings of a constant width in the thumbnail, a little wider than what they mark, dark
  // under light so that they show on any background.
  cairo_scale(cr, 1 / scale, 1 / scale);
  for (const StoryboardFrame::Mark& mark : frame.marks) {
    const double centerX = (mark.x + mark.width / 2 - sourceX) * scale;
    const double centerY = (mark.y + mark.height / 2 - sourceY) * scale;
    const double radius = std::max(mark.width, mark.height) * scale * 0.5 + 5;
    for (const auto& [lineWidth, colour] :
         {std::pair{kMarkWidth + 2, Rgba{0, 0, 0, 0.55}}, std::pair{kMarkWidth, kMarkColour}}) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, centerX, centerY, radius, 0, 2 * std::numbers::pi);
      cairo_set_line_width(cr, lineWidth);
      CairoCanvas::setColor(cr, colour);
      cairo_stroke(cr);
    }
  }
  cairo_restore(cr);
  cairo_surface_destroy(surface);
}

void drawCell(cairo_t* cr, const StoryboardFrame& frame, int number, double x, double y,
              double width, double thumbnailHeight) {
  const double height = thumbnailHeight + kCaptionHeight + 2 * kCellInset;
  CairoCanvas::roundedRectangle(cr, x, y, width, height, 12);
  CairoCanvas::setColor(cr, Rgba{1, 1, 1, 1});
  cairo_fill_preserve(cr);
  CairoCanvas::setColor(cr, rgbHex(0xC7C7CC));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);

  const double inner = width - 2 * kCellInset;
  CairoCanvas::roundedRectangle(cr, x + kCellInset, y + kCellInset, inner, thumbnailHeight, 6);
  CairoCanvas::setColor(cr, rgbHex(0xE6EAF0));
  cairo_fill(cr);
  drawThumbnail(cr, frame, x + kCellInset, y + kCellInset, inner, thumbnailHeight);

  // The number in a badge, then the time and the caption.
  const double captionTop = y + kCellInset + thumbnailHeight + 6;
  cairo_arc(cr, x + kCellInset + 11, captionTop + 13, 11, 0, 2 * 3.141592653589793);
  CairoCanvas::setColor(cr, rgbHex(0x007AFF));
  cairo_fill(cr);
  TextStyle badge{12, Weight::Bold, Rgba{1, 1, 1, 1}, Align::Center};
  CairoCanvas::drawText(cr, std::to_string(number), x + kCellInset + 11, captionTop + 17.5, badge);
  char time[48];
  std::snprintf(time, sizeof time, "%.3f s", frame.time);
  TextStyle timeStyle{14, Weight::Bold, rgbHex(0x1C1C1E), Align::Left};
  CairoCanvas::drawText(cr, time, x + kCellInset + 30, captionTop + 18, timeStyle);

  TextStyle caption{12.5, Weight::Regular, rgbHex(0x3A3A3C), Align::Left};
  CairoCanvas::drawParagraph(cr, frame.caption, x + kCellInset, captionTop + 27, inner,
                             kCaptionLines, caption, kCaptionLineHeight / caption.size);
}

}  // namespace

bool Storyboard::write(const std::vector<StoryboardFrame>& frames,
                       const std::filesystem::path& file, std::string_view title,
                       std::string& error) {
  const int columns = std::clamp(static_cast<int>(frames.size()), 1, kColumns);
  const int rows = std::max(1, static_cast<int>((frames.size() + columns - 1) / columns));
  const double cellWidth = kCellWidthPixels;
  const double thumbnailHeight = kThumbnailHeightPixels;
  const double cellHeight = thumbnailHeight + kCaptionHeight + 2 * kCellInset;
  const double width = kPadding + columns * (cellWidth + kPadding);
  const double height = kTitleHeight + kPadding + rows * (cellHeight + kPadding);

  CairoCanvas canvas = CairoCanvas::image(static_cast<int>(width), static_cast<int>(height));
  cairo_t* cr = canvas.context();
  CairoCanvas::setColor(cr, rgbHex(0xEEF1F5));
  cairo_paint(cr);
  TextStyle heading{22, Weight::Bold, rgbHex(0x1C1C1E), Align::Left};
  CairoCanvas::drawText(cr, title, kPadding, kPadding + 20, heading, width - 2 * kPadding);
  if (frames.empty()) {
    TextStyle none{14, Weight::Regular, rgbHex(0x48484A), Align::Left};
    CairoCanvas::drawText(cr, "No frames.", kPadding, kTitleHeight + kPadding + 16, none);
  }
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const int column = static_cast<int>(i) % columns;
    const int row = static_cast<int>(i) / columns;
    drawCell(cr, frames[i], static_cast<int>(i) + 1, kPadding + column * (cellWidth + kPadding),
             kTitleHeight + kPadding + row * (cellHeight + kPadding), cellWidth, thumbnailHeight);
  }
  if (!canvas.writePng(file, error)) {
    error = file.string() + ": " + error;
    return false;
  }
  return true;
}

}  // namespace sim
