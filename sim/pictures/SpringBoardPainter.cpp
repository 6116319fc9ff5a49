#include "sim/pictures/SpringBoardPainter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>

#include "sim/pictures/CairoCanvas.h"

namespace sim {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNavigationBarBottomPoints = 64;
constexpr double kIconSidePoints = 60;
constexpr double kIconRowPoints = 92;
constexpr int kIconColumns = 4;

const Rgba kWhite{1, 1, 1, 1};

std::uint32_t fnv1a(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

Rgba fromHsv(double hueDegrees, double saturation, double value) {
  const double c = value * saturation;
  const double h = std::fmod(hueDegrees, 360.0) / 60.0;
  const double x = c * (1 - std::abs(std::fmod(h, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  if (h < 1) {
    r = c, g = x;
  } else if (h < 2) {
    r = x, g = c;
  } else if (h < 3) {
    g = c, b = x;
  } else if (h < 4) {
    g = x, b = c;
  } else if (h < 5) {
    r = x, b = c;
  } else {
    r = c, b = x;
  }
  const double m = value - c;
  return {r + m, g + m, b + m, 1};
}

Rgba mix(const Rgba& a, const Rgba& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

void verticalGradient(cairo_t* cr, double width, double height, const Rgba& top,
                      const Rgba& bottom) {
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, height);
  cairo_pattern_add_color_stop_rgba(gradient, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(gradient, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_set_source(cr, gradient);
  cairo_fill(cr);
  cairo_pattern_destroy(gradient);
}

// A padlock of height `size` centred on (cx, cy); the shackle swings open when `open`.
void drawPadlock(cairo_t* cr, double cx, double cy, double size, bool open, const Rgba& color) {
  const double bodyWidth = size * 0.72;
  const double bodyHeight = size * 0.5;
  const double bodyTop = cy + size / 2 - bodyHeight;
  const double shackleRadius = bodyWidth * 0.3;
  const double shackleX = open ? cx + bodyWidth * 0.42 : cx;
  CairoCanvas::setColor(cr, color);
  cairo_set_line_width(cr, size * 0.11);
  cairo_move_to(cr, shackleX - shackleRadius, bodyTop + 0.5);
  cairo_line_to(cr, shackleX - shackleRadius, bodyTop - size * 0.12 - (open ? size * 0.1 : 0));
  cairo_arc(cr, shackleX, bodyTop - size * 0.12 - (open ? size * 0.1 : 0), shackleRadius, kPi,
            2 * kPi);
  cairo_line_to(cr, shackleX + shackleRadius, open ? bodyTop - size * 0.12 : bodyTop + 0.5);
  cairo_stroke(cr);
  CairoCanvas::roundedRectangle(cr, cx - bodyWidth / 2, bodyTop, bodyWidth, bodyHeight,
                                size * 0.08);
  cairo_fill(cr);
}

// Placeholder text: grey bars of varied widths standing for lines of an app's content.
void drawTextBars(cairo_t* cr, double x, double y, double width, int count, std::uint32_t seed) {
  for (int i = 0; i < count; ++i) {
    const double fraction = 0.55 + 0.4 * (((seed >> (i * 3)) & 7) / 7.0);
    CairoCanvas::roundedRectangle(cr, x, y + i * 16, width * (i == count - 1 ? 0.45 : fraction), 8,
                                  4);
    CairoCanvas::setColor(cr, rgbHex(0xD1D1D6));
    cairo_fill(cr);
  }
}

}  // namespace

// ---- names and colours ----------------------------------------------------------------------

Rgba SpringBoardPainter::appColor(std::string_view bundleId) {
  return fromHsv(static_cast<double>(fnv1a(bundleId) % 360), 0.62, 0.78);
}

std::string SpringBoardPainter::appName(std::string_view bundleId) {
  const std::size_t dot = bundleId.rfind('.');
  std::string name(dot == std::string_view::npos ? bundleId : bundleId.substr(dot + 1));
  if (name.empty()) name = std::string(bundleId);
  if (!name.empty()) {
    name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  }
  return name;
}

std::string SpringBoardPainter::orientationName(long long orientation) {
  switch (orientation) {
    case 1:
      return "portrait";
    case 2:
      return "portrait upside down";
    case 3:
      return "landscape right";
    case 4:
      return "landscape left";
    default:
      return "unknown orientation";
  }
}

std::string SpringBoardPainter::clockText(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
  char text[48];
  if (seconds < 3600) {
    const long long tenths = std::llround(seconds * 10);
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", tenths / 600, (tenths / 10) % 60,
                  tenths % 10);
  } else {
    const long long whole = std::llround(std::floor(seconds));
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, (whole / 60) % 60,
                  whole % 60);
  }
  return text;
}

// ---- layers ---------------------------------------------------------------------------------

CGSize SpringBoardPainter::enterContentCoordinates(cairo_t* cr, const SpringBoardScene& scene) {
  const double w = scene.screen.width;
  const double h = scene.screen.height;
  switch (scene.orientation) {
    case 2:  // content top at the screen's bottom edge
      cairo_translate(cr, w, h);
      cairo_rotate(cr, kPi);
      return {w, h};
    case 3:  // content top at the screen's right edge
      cairo_translate(cr, w, 0);
      cairo_rotate(cr, kPi / 2);
      return {h, w};
    case 4:  // content top at the screen's left edge
      cairo_translate(cr, 0, h);
      cairo_rotate(cr, -kPi / 2);
      return {h, w};
    default:
      return {w, h};
  }
}

void SpringBoardPainter::drawBackdrop(cairo_t* cr, const SpringBoardScene& scene) {
  cairo_save(cr);
  if (scene.frontBundleId.empty()) {
    drawHomeScreen(cr, scene);
  } else {
    drawAppContent(cr, scene);
  }
  cairo_restore(cr);
}

void SpringBoardPainter::drawAppContent(cairo_t* cr, const SpringBoardScene& scene) {
  const CGSize size = enterContentCoordinates(cr, scene);
  const Rgba color = appColor(scene.frontBundleId);
  const std::uint32_t seed = fnv1a(scene.frontBundleId);
  const double w = size.width;
  const double h = size.height;

  CairoCanvas::setColor(cr, rgbHex(0xF2F2F7));
  cairo_paint(cr);

  // Navigation bar, reaching under the status strip, with the app's name.
  cairo_rectangle(cr, 0, 0, w, kNavigationBarBottomPoints);
  CairoCanvas::setColor(cr, color);
  cairo_fill(cr);
  TextStyle title{17, Weight::Bold, kWhite, Align::Center};
  CairoCanvas::drawText(cr, appName(scene.frontBundleId), w / 2, kStatusStripHeightPoints + 28,
                        title, w - 32);

  // A picture card and a few cards of text, laid out side by side when the content is wide.
  const bool wide = w > h;
  const double margin = 16;
  const double top = kNavigationBarBottomPoints + margin;
  const double footer = 44;
  const double columnWidth = wide ? (w - 3 * margin) / 2 : w - 2 * margin;
  const double heroHeight = wide ? h - top - footer - margin : std::min(170.0, h * 0.26);
  CairoCanvas::roundedRectangle(cr, margin, top, columnWidth, heroHeight, 14);
  CairoCanvas::setColor(cr, mix(color, kWhite, 0.55));
  cairo_fill(cr);
  TextStyle initial{std::min(heroHeight * 0.5, 72.0), Weight::Bold, mix(color, kWhite, 0.15),
                    Align::Center};
  CairoCanvas::drawText(cr, appName(scene.frontBundleId).substr(0, 1), margin + columnWidth / 2,
                        top + heroHeight / 2 + initial.size * 0.36, initial);

  const double cardsX = wide ? 2 * margin + columnWidth : margin;
  double cardY = wide ? top : top + heroHeight + margin;
  const double cardsBottom = h - footer;
  for (int card = 0; cardY + 70 <= cardsBottom; ++card) {
    const double cardHeight = std::min(92.0, cardsBottom - cardY);
    CairoCanvas::roundedRectangle(cr, cardsX, cardY, columnWidth, cardHeight, 12);
    CairoCanvas::setColor(cr, kWhite);
    cairo_fill(cr);
    cairo_arc(cr, cardsX + 28, cardY + 28, 14, 0, 2 * kPi);
    CairoCanvas::setColor(cr, mix(color, kWhite, 0.3));
    cairo_fill(cr);
    drawTextBars(cr, cardsX + 54, cardY + 20, columnWidth - 70,
                 static_cast<int>((cardHeight - 24) / 16), seed >> static_cast<unsigned>(card % 4));
    cardY += cardHeight + 12;
  }

  // Which app and which way up, in words.
  TextStyle footnote{12, Weight::Regular, rgbHex(0x6E6E73), Align::Center};
  CairoCanvas::drawText(cr, scene.frontBundleId + "  \u00B7  " + orientationName(scene.orientation),
                        w / 2, h - 18, footnote, w - 24);
}

void SpringBoardPainter::drawHomeScreen(cairo_t* cr, const SpringBoardScene& scene) {
  const double w = scene.screen.width;
  const double h = scene.screen.height;
  verticalGradient(cr, w, h, rgbHex(0x2B5876), rgbHex(0x4E4376));

  const double gap = (w - kIconColumns * kIconSidePoints) / (kIconColumns + 1);
  const double dockTop = h - 96;
  int index = 0;
  for (const std::string& bundleId : scene.installedApps) {
    const int row = index / kIconColumns;
    const int column = index % kIconColumns;
    const double y = 40 + row * kIconRowPoints;
    if (y + kIconRowPoints > dockTop - 24) break;  // the first page only
    const double x = gap + column * (kIconSidePoints + gap);
    drawAppIcon(cr, bundleId, x, y, kIconSidePoints);
    TextStyle label{11, Weight::Regular, kWhite, Align::Center};
    CairoCanvas::drawText(cr, appName(bundleId), x + kIconSidePoints / 2, y + kIconSidePoints + 15,
                          label, kIconSidePoints + gap - 4);
    ++index;
  }
  if (scene.installedApps.empty()) {
    TextStyle empty{15, Weight::Regular, kWhite.withAlpha(0.8), Align::Center};
    CairoCanvas::drawText(cr, "No apps installed", w / 2, h / 2, empty);
  }

  // Page dots and the dock.
  for (int dot = 0; dot < 2; ++dot) {
    cairo_arc(cr, w / 2 - 6 + dot * 12, dockTop - 14, 3.5, 0, 2 * kPi);
    CairoCanvas::setColor(cr, kWhite.withAlpha(dot == 0 ? 0.95 : 0.4));
    cairo_fill(cr);
  }
  CairoCanvas::roundedRectangle(cr, 8, dockTop, w - 16, 88, 22);
  CairoCanvas::setColor(cr, kWhite.withAlpha(0.22));
  cairo_fill(cr);
  TextStyle dock{13, Weight::Regular, kWhite.withAlpha(0.85), Align::Center};
  CairoCanvas::drawText(cr, "Home screen", w / 2, dockTop + 49, dock);
}

void SpringBoardPainter::drawAppIcon(cairo_t* cr, std::string_view bundleId, double x, double y,
                                     double side) {
  const Rgba color = appColor(bundleId);
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y, 0, y + side);
  const Rgba light = mix(color, kWhite, 0.25);
  cairo_pattern_add_color_stop_rgb(gradient, 0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(gradient, 1, color.r, color.g, color.b);
  CairoCanvas::roundedRectangle(cr, x, y, side, side, side * 0.225);
  cairo_set_source(cr, gradient);
  cairo_fill(cr);
  cairo_pattern_destroy(gradient);
  TextStyle letter{side * 0.48, Weight::Bold, kWhite, Align::Center};
  CairoCanvas::drawText(cr, appName(bundleId).substr(0, 1), x + side / 2, y + side * 0.67, letter);
}

void SpringBoardPainter::drawLockScreen(cairo_t* cr, const SpringBoardScene& scene) {
  const double w = scene.screen.width;
  const double h = scene.screen.height;
  cairo_save(cr);
  verticalGradient(cr, w, h, rgbHex(0x1D2B64), rgbHex(0x0F0C29));
  drawPadlock(cr, w / 2, 58, 26, false, kWhite);
  TextStyle clock{64, Weight::Light, kWhite, Align::Center};
  const std::string text = clockText(scene.time);
  if (CairoCanvas::textWidth(cr, text, clock) > w - 24) clock.size = 44;
  CairoCanvas::drawText(cr, text, w / 2, 170, clock);
  TextStyle locked{17, Weight::Regular, kWhite.withAlpha(0.85), Align::Center};
  CairoCanvas::drawText(cr, "Locked", w / 2, 204, locked);
  TextStyle hint{14, Weight::Regular, kWhite.withAlpha(0.7), Align::Center};
  CairoCanvas::drawText(cr, "Press home to unlock", w / 2, h - 34, hint);
  cairo_restore(cr);
}

void SpringBoardPainter::drawStatusStrip(cairo_t* cr, const SpringBoardScene& scene) {
  cairo_save(cr);
  double w = scene.screen.width;
  const bool overPage = scene.settingsPageShown && !scene.deviceLocked;
  if (!scene.deviceLocked && !scene.frontBundleId.empty() && !overPage) {
    w = enterContentCoordinates(cr, scene).width;
  }
  const double baseline = 14.5;
  const Rgba ink = overPage ? Rgba{0, 0, 0, 1} : kWhite;
  if (!overPage) {
    // The strip lies over the app's bar or the wallpaper; a veil keeps white text readable.
    cairo_rectangle(cr, 0, 0, w, kStatusStripHeightPoints);
    CairoCanvas::setColor(cr, Rgba{0, 0, 0, 0.12});
    cairo_fill(cr);
  }

  // Signal dots and carrier on the left.
  for (int dot = 0; dot < 4; ++dot) {
    cairo_arc(cr, 9 + dot * 7, 10, 2.6, 0, 2 * kPi);
    CairoCanvas::setColor(cr, ink);
    cairo_fill(cr);
  }
  TextStyle small{11.5, Weight::Regular, ink, Align::Left};
  CairoCanvas::drawText(cr, "SIM", 40, baseline, small);

  TextStyle clock{12, Weight::Bold, ink, Align::Center};
  CairoCanvas::drawText(cr, clockText(scene.time), w / 2, baseline, clock);

  // Battery at the right edge, the orientation lock to its left.
  const double batteryX = w - 34;
  CairoCanvas::roundedRectangle(cr, batteryX, 5, 24, 11, 2.5);
  CairoCanvas::setColor(cr, ink);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_rectangle(cr, batteryX + 24.5, 8.5, 2, 4);
  cairo_fill(cr);
  cairo_rectangle(cr, batteryX + 2, 7, 17, 7);
  cairo_fill(cr);
  drawOrientationLockIcon(cr, batteryX - 14, 10.5, scene.orientationLocked,
                          scene.orientationLocked ? ink : ink.withAlpha(0.5));
  cairo_restore(cr);
}

void SpringBoardPainter::drawOrientationLockIcon(cairo_t* cr, double centerX, double centerY,
                                                 bool on, const Rgba& color) {
  // A padlock inside a circling arrow; when the lock is off the padlock stands open and the
  // icon is dimmed.
  const double radius = 7.2;
  CairoCanvas::setColor(cr, color);
  cairo_set_line_width(cr, 1.3);
  cairo_new_path(cr);
  cairo_arc(cr, centerX, centerY, radius, -kPi * 0.35, kPi * 1.45);
  cairo_stroke(cr);
  // The arrowhead at the arc's end.
  const double end = kPi * 1.45;
  const double tipX = centerX + radius * std::cos(end);
  const double tipY = centerY + radius * std::sin(end);
  cairo_move_to(cr, tipX + 3.2, tipY - 0.6);
  cairo_line_to(cr, tipX, tipY);
  cairo_line_to(cr, tipX + 0.8, tipY + 3.1);
  cairo_stroke(cr);
  drawPadlock(cr, centerX, centerY + 0.5, 7.5, !on, color);
}

}  // namespace sim
