#include "sim/pictures/ListPagePainter.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <numbers>
#include <optional>

#include "sim/pictures/CairoCanvas.h"
#include "sim/pictures/TextLayout.h"

namespace sim {
namespace {

constexpr double kInsetPoints = 16;
constexpr double kGroupHeaderHeightPoints = 38;
constexpr double kFooterLineHeightPoints = 17;
const Rgba kTint = rgbHex(0x007AFF);
const Rgba kSecondary = rgbHex(0x8A8A8E);
const Rgba kBlack{0, 0, 0, 1};
const Rgba kWhite{1, 1, 1, 1};

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// "#RRGGBB" or "#RRGGBB:alpha" as a colour.
std::optional<Rgba> colourOfText(const std::string& text) {
  if (text.size() < 7 || text[0] != '#') return std::nullopt;
  for (std::size_t i = 1; i < 7; ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
  }
  const auto rgb = static_cast<std::uint32_t>(std::strtoul(text.substr(1, 6).c_str(), nullptr, 16));
  double alpha = 1;
  if (text.size() > 8 && text[7] == ':') alpha = std::clamp(std::atof(text.c_str() + 8), 0.0, 1.0);
  return rgbHex(rgb, alpha);
}

void drawSwitch(cairo_t* cr, double right, double centerY, bool on) {
  const double width = 51, height = 31;
  const double x = right - width;
  const double y = centerY - height / 2;
  CairoCanvas::roundedRectangle(cr, x, y, width, height, height / 2);
  CairoCanvas::setColor(cr, on ? rgbHex(0x34C759) : rgbHex(0xE9E9EA));
  cairo_fill(cr);
  const double knobX = on ? x + width - height / 2 : x + height / 2;
  cairo_arc(cr, knobX, centerY, height / 2 - 2, 0, 2 * std::numbers::pi);
  CairoCanvas::setColor(cr, kWhite);
  cairo_fill_preserve(cr);
  CairoCanvas::setColor(cr, Rgba{0, 0, 0, 0.12});
  cairo_set_line_width(cr, 0.5);
  cairo_stroke(cr);
}

void drawChevron(cairo_t* cr, double right, double centerY) {
  CairoCanvas::setColor(cr, rgbHex(0xC4C4C7));
  cairo_set_line_width(cr, 2);
  cairo_move_to(cr, right - 8, centerY - 6);
  cairo_line_to(cr, right - 2, centerY);
  cairo_line_to(cr, right - 8, centerY + 6);
  cairo_stroke(cr);
}

// Returns the left edge of the control.
double drawSegments(cairo_t* cr, double right, double centerY, const ListRow& row,
                    double maxWidth) {
  TextStyle text{13, Weight::Regular, kBlack, Align::Center};
  double segment = 0;
  for (const auto& choice : row.choices) {
    segment = std::max(segment, CairoCanvas::textWidth(cr, choice, text) + 20);
  }
  const double count = static_cast<double>(std::max<std::size_t>(row.choices.size(), 1));
  segment = std::min(segment, maxWidth / count);
  const double width = segment * count;
  const double x = right - width;
  const double height = 28;
  CairoCanvas::roundedRectangle(cr, x, centerY - height / 2, width, height, 7);
  CairoCanvas::setColor(cr, rgbHex(0xEEEEEF));
  cairo_fill(cr);
  for (std::size_t i = 0; i < row.choices.size(); ++i) {
    const double segmentX = x + segment * static_cast<double>(i);
    const bool chosen = static_cast<int>(i) == row.selected;
    if (chosen) {
      CairoCanvas::roundedRectangle(cr, segmentX + 2, centerY - height / 2 + 2, segment - 4,
                                    height - 4, 6);
      CairoCanvas::setColor(cr, kWhite);
      cairo_fill_preserve(cr);
      CairoCanvas::setColor(cr, Rgba{0, 0, 0, 0.1});
      cairo_set_line_width(cr, 0.5);
      cairo_stroke(cr);
    }
    text.weight = chosen ? Weight::Bold : Weight::Regular;
    CairoCanvas::drawText(cr, row.choices[i], segmentX + segment / 2, centerY + 4.5, text,
                          segment - 6);
  }
  return x;
}

void drawSlider(cairo_t* cr, double left, double right, double centerY, const ListRow& row) {
  TextStyle value{15, Weight::Regular, kSecondary, Align::Right};
  const double valueWidth =
      row.value.empty() ? 0 : CairoCanvas::textWidth(cr, row.value, value) + 12;
  CairoCanvas::drawText(cr, row.value, right, centerY + 5, value);
  const double trackRight = right - valueWidth;
  const double fraction = std::clamp(row.fraction, 0.0, 1.0);
  const double knobX = left + (trackRight - left) * fraction;
  cairo_set_line_width(cr, 4);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  CairoCanvas::setColor(cr, kTint);
  cairo_move_to(cr, left, centerY);
  cairo_line_to(cr, knobX, centerY);
  cairo_stroke(cr);
  CairoCanvas::setColor(cr, rgbHex(0xD1D1D6));
  cairo_move_to(cr, knobX, centerY);
  cairo_line_to(cr, trackRight, centerY);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_arc(cr, knobX, centerY, 12, 0, 2 * std::numbers::pi);
  CairoCanvas::setColor(cr, kWhite);
  cairo_fill_preserve(cr);
  CairoCanvas::setColor(cr, Rgba{0, 0, 0, 0.18});
  cairo_set_line_width(cr, 0.75);
  cairo_stroke(cr);
}

// The value text on the right, with a swatch before a colour; returns its left edge.
double drawValue(cairo_t* cr, double right, double baseline, double centerY,
                 const std::string& text, double maxWidth) {
  if (text.empty()) return right;
  TextStyle value{17, Weight::Regular, kSecondary, Align::Right};
  double left = right - CairoCanvas::drawText(cr, text, right, baseline, value, maxWidth);
  if (auto colour = colourOfText(text)) {
    left -= 30;
    CairoCanvas::roundedRectangle(cr, left, centerY - 11, 22, 22, 6);
    CairoCanvas::setColor(cr, *colour);
    cairo_fill_preserve(cr);
    CairoCanvas::setColor(cr, Rgba{0, 0, 0, 0.25});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  return left;
}

// The footer under a group, wrapped to the page; returns the y below it.
double footer(cairo_t* cr, double y, double width, const std::string& text, bool paint) {
  if (text.empty()) return y;
  const TextStyle style{13, Weight::Regular, kSecondary, Align::Left};
  const TextLayout layout(cr, text, style, width - 2 * kInsetPoints, 0,
                          kFooterLineHeightPoints / style.size);
  const double top = y + 19 - layout.baseline();
  if (paint) layout.draw(cr, kInsetPoints, top);
  return top + layout.logical().height + 4;
}

void drawRow(cairo_t* cr, double y, double width, const ListRow& row, bool lastOfGroup) {
  cairo_rectangle(cr, 0, y, width, ListPagePainter::kRowHeightPoints);
  CairoCanvas::setColor(cr, kWhite);
  cairo_fill(cr);
  const double right = width - kInsetPoints;
  const double centerY = y + ListPagePainter::kRowHeightPoints / 2;
  const double baseline = centerY + 6;

  TextStyle title{17, Weight::Regular, row.kind == ListRow::Kind::Button ? kTint : kBlack,
                  Align::Left};
  const double titleWidth = CairoCanvas::textWidth(cr, row.title, title);
  double controlLeft = right;
  switch (row.kind) {
    case ListRow::Kind::Switch:
      drawSwitch(cr, right, centerY, row.on);
      controlLeft = right - 51;
      break;
    case ListRow::Kind::Segments:
      controlLeft = drawSegments(cr, right, centerY, row,
                                 std::max(120.0, width - 3 * kInsetPoints - titleWidth));
      break;
    case ListRow::Kind::Slider: {
      const double left = row.title.empty() ? kInsetPoints + 12 : kInsetPoints + titleWidth + 24;
      drawSlider(cr, left, right, centerY, row);
      controlLeft = left - 12;
      break;
    }
    case ListRow::Kind::Link:
      drawChevron(cr, right, centerY);
      controlLeft = drawValue(cr, right - 18, baseline, centerY, row.value, width * 0.45);
      break;
    case ListRow::Kind::Value:
      controlLeft = drawValue(cr, right, baseline, centerY, row.value, width * 0.5);
      break;
    default:
      break;
  }
  CairoCanvas::drawText(cr, row.title, kInsetPoints, baseline, title,
                        std::max(20.0, controlLeft - 8 - kInsetPoints));

  if (!lastOfGroup) {
    CairoCanvas::setColor(cr, rgbHex(0xC6C6C8));
    cairo_set_line_width(cr, 0.5);
    cairo_move_to(cr, kInsetPoints, y + ListPagePainter::kRowHeightPoints - 0.25);
    cairo_line_to(cr, width, y + ListPagePainter::kRowHeightPoints - 0.25);
    cairo_stroke(cr);
  }
}

}  // namespace

double ListPagePainter::walk(cairo_t* cr, double top, double width,
                             const std::vector<ListRow>& rows, bool paint,
                             std::vector<Span>* spans) {
  cairo_save(cr);
  double y = top;
  const std::string* pendingFooter = nullptr;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ListRow& row = rows[i];
    if (row.kind == ListRow::Kind::Group) {
      if (pendingFooter) y = footer(cr, y, width, *pendingFooter, paint);
      pendingFooter = &row.footer;
      if (paint) {
        const TextStyle header{13, Weight::Regular, kSecondary, Align::Left};
        CairoCanvas::drawText(cr, upper(row.title), kInsetPoints, y + kGroupHeaderHeightPoints - 8,
                              header, width - 2 * kInsetPoints);
      }
      if (spans) spans->push_back({y, y + kGroupHeaderHeightPoints});
      y += kGroupHeaderHeightPoints;
      continue;
    }
    const bool lastOfGroup = i + 1 == rows.size() || rows[i + 1].kind == ListRow::Kind::Group;
    if (paint) drawRow(cr, y, width, row, lastOfGroup);
    if (spans) spans->push_back({y, y + kRowHeightPoints});
    y += kRowHeightPoints;
  }
  if (pendingFooter) y = footer(cr, y, width, *pendingFooter, paint);
  cairo_restore(cr);
  return y;
}

double ListPagePainter::draw(cairo_t* cr, double top, double width,
                             const std::vector<ListRow>& rows) {
  return walk(cr, top, width, rows, /*paint=*/true, nullptr);
}

double ListPagePainter::layout(cairo_t* cr, double top, double width,
                               const std::vector<ListRow>& rows, std::vector<Span>& spans) {
  spans.clear();
  return walk(cr, top, width, rows, /*paint=*/false, &spans);
}

}  // namespace sim
