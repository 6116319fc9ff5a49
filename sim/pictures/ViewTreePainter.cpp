#include "sim/pictures/ViewTreePainter.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "QuartzCore/CALayer.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIView.h"
#include "UIKit/UIViewInspection.h"
#include "sim/pictures/CairoCanvas.h"
#include "sim/pictures/TextLayout.h"

namespace sim {
namespace {

// Below this a view adds nothing visible to the picture.
constexpr double kInvisibleAlpha = 1.0 / 512;
constexpr double kDefaultLabelFontPoints = 17;
constexpr double kLineSpacing = 1.2;

Rgba toRgba(const UIColor& color) {
  return {color.red(), color.green(), color.blue(), color.alpha()};
}

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The weight a face name asks for ("HelveticaNeue-UltraLight", "Helvetica-Bold").
Weight weightOfFont(std::string_view fontName) {
  for (std::string_view heavy : {"Bold", "Heavy", "Black", "Semibold", "Medium"}) {
    if (contains(fontName, heavy)) return Weight::Bold;
  }
  for (std::string_view light : {"Light", "Thin"}) {
    if (contains(fontName, light)) return Weight::Light;
  }
  return Weight::Regular;
}

// Moves `cr` from the superview's coordinates into the view's own: about the view's centre,
// its transform and then its layer's presented rotation.
void enterViewCoordinates(cairo_t* cr, const UIView& view, double time) {
  const CGPoint center = view.center();
  const CGAffineTransform& t = view.transform();
  const CGRect bounds = view.bounds();
  cairo_translate(cr, center.x, center.y);
  cairo_matrix_t matrix;
  cairo_matrix_init(&matrix, t.a, t.b, t.c, t.d, t.tx, t.ty);
  cairo_transform(cr, &matrix);
  cairo_rotate(cr, view.layer()->presentationRotationAtTime(time));
  cairo_translate(cr, -bounds.origin.x - bounds.size.width / 2,
                  -bounds.origin.y - bounds.size.height / 2);
}

void boundsPath(cairo_t* cr, const UIView& view) {
  const CGRect b = view.bounds();
  CairoCanvas::roundedRectangle(cr, b.origin.x, b.origin.y, b.size.width, b.size.height,
                                view.layer()->cornerRadius());
}

void drawBackground(cairo_t* cr, const UIView& view) {
  if (!view.backgroundColor() || view.backgroundColor()->alpha() <= 0) return;
  boundsPath(cr, view);
  CairoCanvas::setColor(cr, toRgba(*view.backgroundColor()));
  cairo_fill(cr);
}

// The layer's border lies inside the bounds and above the content and the sublayers.
void drawBorder(cairo_t* cr, const UIView& view) {
  const CALayer& layer = *view.layer();
  const double width = layer.borderWidth();
  if (width <= 0 || layer.borderColor().alpha() <= 0) return;
  const CGRect b = view.bounds();
  CairoCanvas::roundedRectangle(cr, b.origin.x + width / 2, b.origin.y + width / 2,
                                b.size.width - width, b.size.height - width,
                                std::max(0.0, layer.cornerRadius() - width / 2));
  CairoCanvas::setColor(cr, toRgba(layer.borderColor()));
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void drawButton(cairo_t* cr, const UIButton& button) {
  const CGRect b = button.bounds();
  if (auto background = button.currentBackgroundImage()) {
    ViewTreePainter::drawImage(cr, *background, b);
  }
  if (auto image = button.imageForState(button.state())) {
    // Its own size, centred, made smaller when it does not fit.
    CGSize size = image->size();
    if (size.width <= 0 || size.height <= 0) return;
    const double fit = std::min({1.0, b.size.width / size.width, b.size.height / size.height});
    size = {size.width * fit, size.height * fit};
    ViewTreePainter::drawImage(
        cr, *image,
        CGRectMake(CGRectGetMidX(b) - size.width / 2, CGRectGetMidY(b) - size.height / 2,
                   size.width, size.height));
  }
}

// A label's text laid out as UILabel does: wrapped to its width up to its number of lines
// (the last one ending with an ellipsis), aligned as it says, and the block centred vertically
// in its bounds. `top` is where the layout's top edge goes, in the label's coordinates.
struct PlacedLabel {
  TextLayout layout;
  double left = 0;
  double top = 0;
};

PlacedLabel placeLabel(cairo_t* cr, const UILabel& label) {
  const CGRect b = label.bounds();
  TextStyle style;
  style.size = label.font() ? label.font()->pointSize() : kDefaultLabelFontPoints;
  style.weight = label.font() ? weightOfFont(label.font()->fontName()) : Weight::Regular;
  style.color = toRgba(label.textColor());
  switch (label.textAlignment()) {
    case NSTextAlignmentCenter:
      style.align = Align::Center;
      break;
    case NSTextAlignmentRight:
      style.align = Align::Right;
      break;
    default:
      style.align = Align::Left;
      break;
  }
  const double width = std::max(b.size.width, 1.0);
  if (label.numberOfLines() == 1) {
    std::string single = label.text();
    std::replace(single.begin(), single.end(), '\n', ' ');
    TextLayout layout(cr, single, style, width, 1);
    const double top = b.origin.y + (b.size.height - layout.logical().height) / 2;
    return {std::move(layout), b.origin.x, top};
  }
  // 0 lines: as many as the text needs.
  const int lines = static_cast<int>(std::clamp<std::int64_t>(label.numberOfLines(), 0, 1000));
  TextLayout layout(cr, label.text(), style, width, lines, kLineSpacing);
  const double top = b.origin.y + (b.size.height - layout.logical().height) / 2;
  return {std::move(layout), b.origin.x, top};
}

void drawLabel(cairo_t* cr, const UILabel& label) {
  if (label.text().empty()) return;
  const PlacedLabel placed = placeLabel(cr, label);
  placed.layout.draw(cr, placed.left, placed.top);
}

}  // namespace

void ViewTreePainter::setContentPainter(std::string className, ContentPainter painter) {
  if (painter) {
    painters_[std::move(className)] = std::move(painter);
  } else {
    painters_.erase(className);
  }
}

void ViewTreePainter::draw(cairo_t* cr, const UIView& view, double time) const {
  if (view.isHidden()) return;
  const double alpha = std::clamp(UIViewInspection::presentationAlphaAtTime(view, time), 0.0, 1.0);
  if (alpha < kInvisibleAlpha) return;

  cairo_save(cr);
  enterViewCoordinates(cr, view, time);
  // A view's alpha applies to it and its subviews as one picture.
  const bool translucent = alpha < 1;
  if (translucent) cairo_push_group(cr);

  drawBackground(cr, view);
  if (view.clipsToBounds()) {
    boundsPath(cr, view);
    cairo_clip(cr);
  }
  drawContent(cr, view, time);
  for (const auto& subview : view.subviews()) {
    if (subview) draw(cr, *subview, time);
  }
  drawBorder(cr, view);

  if (translucent) {
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
  }
  cairo_restore(cr);
}

void ViewTreePainter::drawContent(cairo_t* cr, const UIView& view, double time) const {
  cairo_save(cr);
  if (auto painter = painters_.find(view.className()); painter != painters_.end()) {
    painter->second(cr, view, time);
  } else if (const auto* button = dynamic_cast<const UIButton*>(&view)) {
    drawButton(cr, *button);
  } else if (const auto* label = dynamic_cast<const UILabel*>(&view)) {
    drawLabel(cr, *label);
  } else if (const auto* imageView = dynamic_cast<const UIImageView*>(&view)) {
    if (imageView->image()) drawImage(cr, *imageView->image(), imageView->bounds());
  }
  cairo_restore(cr);
}

std::vector<CGRect> ViewTreePainter::labelInkLines(const UILabel& label) {
  std::vector<CGRect> lines;
  if (label.text().empty()) return lines;
  const CairoCanvas scratch = CairoCanvas::image(1, 1);
  const PlacedLabel placed = placeLabel(scratch.context(), label);
  for (const TextLayout::Box& ink : placed.layout.inkLines()) {
    lines.push_back(CGRectMake(placed.left + ink.x, placed.top + ink.y, ink.width, ink.height));
  }
  return lines;
}

void ViewTreePainter::drawImage(cairo_t* cr, const UIImage& image, const CGRect& rect) {
  const int width = image.pixelWidth();
  const int height = image.pixelHeight();
  if (width <= 0 || height <= 0 || rect.size.width <= 0 || rect.size.height <= 0 ||
      image.pixels().size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return;
  }
  cairo_surface_t* surface = CairoCanvas::surfaceFromPixels(width, height, image.pixels().data());
  cairo_save(cr);
  cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
  cairo_clip(cr);
  cairo_translate(cr, rect.origin.x, rect.origin.y);
  cairo_scale(cr, rect.size.width / width, rect.size.height / height);
  cairo_set_source_surface(cr, surface, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  // Edge pixels repeat outwards, so a stretched image keeps crisp edges instead of fading.
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(surface);
}

}  // namespace sim
