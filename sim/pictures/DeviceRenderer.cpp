#include "sim/pictures/DeviceRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <system_error>

#include "CoreMotion/CMAttitude.h"
#include "CoreMotion/MotionHardware.h"
#include "Device/Device.h"
#include "SpringBoard/HomeScreenState.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UIViewInspection.h"
#include "UIKit/UIWindow.h"
#include "sim/pictures/CairoCanvas.h"
#include "sim/pictures/PixelCount.h"
#include "sim/pictures/ScrollOffset.h"
#include "sim/pictures/SpringBoardPainter.h"

namespace sim {
namespace {

constexpr double kPi = std::numbers::pi;
// The phone's body around the screen, in points: a phone with a home button.
constexpr double kBezelSidePoints = 20;
constexpr double kBezelTopPoints = 84;
constexpr double kBezelBottomPoints = 84;
constexpr double kBodyCornerRadiusPoints = 56;
constexpr double kMarginPoints = 28;
constexpr double kCaptionHeightPoints = 92;
constexpr double kAlphaSteps = 64;
// Below a row scrolled into view, so that it does not sit on the screen's edge.
constexpr double kScrollMarginPoints = 24;

const Rgba kCaptionText = rgbHex(0x1C1C1E);
const Rgba kCaptionSecondary = rgbHex(0x48484A);

// ---- the attitude, in pictures and words ----------------------------------------------------

struct Held {
  double tiltRadians = 0;  // clockwise turn of the phone in the picture
  std::string words;
};

// Gravity in the device frame is (sin roll · cos pitch, −sin pitch, −cos roll · cos pitch),
// y towards the top of the screen. The phone is turned so that the in-plane part points down
// the picture.
Held heldOf(const CMAttitude& attitude) {
  const double cosPitch = std::cos(attitude.pitch());
  const double gx = std::sin(attitude.roll()) * cosPitch;
  const double gy = -std::sin(attitude.pitch());
  const double gz = -std::cos(attitude.roll()) * cosPitch;
  Held held;
  if (std::hypot(gx, gy) < DeviceRenderer::kFlatInPlaneGravityG) {
    held.words = gz <= 0 ? "lying flat, face up" : "lying flat, face down";
    return held;
  }
  // In the picture's axes (y down) gravity is (gx, −gy); turn it onto (0, 1).
  held.tiltRadians = std::remainder(kPi / 2 - std::atan2(-gy, gx), 2 * kPi);
  const long quadrant = std::lround(held.tiltRadians / (kPi / 2));
  switch (quadrant) {
    case 0:
      held.words = "held upright";
      break;
    case 1:
      held.words = "held on its right edge";
      break;
    case -1:
      held.words = "held on its left edge";
      break;
    default:
      held.words = "held upside down";
      break;
  }
  return held;
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// ---- the phone ------------------------------------------------------------------------------

void drawPhone(cairo_t* cr, double width, double height) {
  // A soft shadow: a few widening translucent outlines.
  for (int i = 3; i >= 1; --i) {
    CairoCanvas::roundedRectangle(cr, -i * 2.0 + 4, -i * 2.0 + 8, width + i * 4.0, height + i * 4.0,
                                  kBodyCornerRadiusPoints + i * 2.0);
    CairoCanvas::setColor(cr, Rgba{0, 0, 0, 0.06});
    cairo_fill(cr);
  }
  // Side keys: mute and volume on the left, power on the right.
  CairoCanvas::setColor(cr, rgbHex(0x3A3A3C));
  for (const auto& [y, h] : {std::pair{118.0, 28.0}, {170.0, 52.0}, {234.0, 52.0}}) {
    CairoCanvas::roundedRectangle(cr, -3, y, 6, h, 2);
    cairo_fill(cr);
  }
  CairoCanvas::roundedRectangle(cr, width - 3, 176, 6, 70, 2);
  cairo_fill(cr);

  cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, width, height);
  cairo_pattern_add_color_stop_rgb(body, 0, 0.20, 0.20, 0.22);
  cairo_pattern_add_color_stop_rgb(body, 1, 0.10, 0.10, 0.11);
  CairoCanvas::roundedRectangle(cr, 0, 0, width, height, kBodyCornerRadiusPoints);
  cairo_set_source(cr, body);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(body);
  CairoCanvas::setColor(cr, rgbHex(0x58585C));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);

  // Earpiece and camera above the screen, the home button below it.
  CairoCanvas::roundedRectangle(cr, width / 2 - 30, kBezelTopPoints / 2 - 3, 60, 6, 3);
  CairoCanvas::setColor(cr, rgbHex(0x0A0A0B));
  cairo_fill(cr);
  cairo_arc(cr, width / 2 - 52, kBezelTopPoints / 2, 5, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_arc(cr, width / 2, height - kBezelBottomPoints / 2, 25, 0, 2 * kPi);
  CairoCanvas::setColor(cr, rgbHex(0x1C1C1E));
  cairo_fill_preserve(cr);
  CairoCanvas::setColor(cr, rgbHex(0x6E6E73));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

// The buttons of `view`'s tree that show at `time` (neither hidden nor faded out).
void collectButtons(const UIView& view, double time, std::vector<const UIButton*>& buttons) {
  if (view.isHidden() || UIViewInspection::presentationAlphaAtTime(view, time) < 1 / kAlphaSteps)
    return;
  if (const auto* button = dynamic_cast<const UIButton*>(&view)) buttons.push_back(button);
  for (const auto& subview : view.subviews()) {
    if (subview) collectButtons(*subview, time, buttons);
  }
}

}  // namespace

// ---- layout ---------------------------------------------------------------------------------

struct DeviceRenderer::Layout {
  CGSize screen;
  double bodyWidth = 0;
  double bodyHeight = 0;
  double canvasWidth = 0;  // points
  double canvasHeight = 0;
  double phoneCenterX = 0;
  double phoneCenterY = 0;
  Held held;
  CMAttitude attitude;
};

DeviceRenderer::DeviceRenderer(RenderOptions options) : options_(options) {
  if (!(options_.pixelsPerPoint > 0) || !std::isfinite(options_.pixelsPerPoint)) {
    options_.pixelsPerPoint = 1;
  }
}

void DeviceRenderer::setViewPainter(std::string className, ViewPainter painter) {
  views_.setContentPainter(std::move(className), std::move(painter));
}

DeviceRenderer::Layout DeviceRenderer::layoutFor(Device& device) {
  Layout layout;
  layout.screen = UIScreenHardware::of(device).bounds().size;
  layout.bodyWidth = layout.screen.width + 2 * kBezelSidePoints;
  layout.bodyHeight = layout.screen.height + kBezelTopPoints + kBezelBottomPoints;
  layout.attitude = MotionHardware::of(device).attitude();
  layout.held = heldOf(layout.attitude);
  if (!options_.tiltWithAttitude) layout.held.tiltRadians = 0;
  // With tilting, room for the phone at any angle: a square as wide as its diagonal.
  const double phoneWidth = options_.tiltWithAttitude
                                ? std::hypot(layout.bodyWidth, layout.bodyHeight)
                                : layout.bodyWidth;
  const double phoneHeight = options_.tiltWithAttitude ? phoneWidth : layout.bodyHeight;
  layout.canvasWidth = std::ceil(phoneWidth + 2 * kMarginPoints);
  layout.canvasHeight = std::ceil(phoneHeight + 2 * kMarginPoints + kCaptionHeightPoints);
  layout.phoneCenterX = layout.canvasWidth / 2;
  layout.phoneCenterY = kMarginPoints + phoneHeight / 2;
  return layout;
}

std::string DeviceRenderer::howHeld(Device& device) {
  return heldOf(MotionHardware::of(device).attitude()).words;
}

std::optional<SettingsPageContent> DeviceRenderer::settingsPage(Device& device) {
  if (!pageSource_) return std::nullopt;
  return pageSource_(device);
}

std::vector<AlertContent> DeviceRenderer::alerts(Device& device) {
  if (!alertSource_) return {};
  return alertSource_(device);
}

SpringBoardScene DeviceRenderer::sceneOf(Device& device, double time) {
  const HomeScreenState& home = HomeScreenState::of(device);
  SpringBoardScene scene;
  scene.screen = UIScreenHardware::of(device).bounds().size;
  scene.time = time;
  if (const auto front = home.frontApplication()) scene.frontBundleId = front->bundleIdentifier();
  scene.orientation = home.frontApplicationOrientation();
  scene.deviceLocked = home.isDeviceLocked();
  scene.orientationLocked = home.isOrientationLocked();
  for (const auto& app : home.applications()) {
    if (app) scene.installedApps.push_back(app->bundleIdentifier());
  }
  return scene;
}

CGSize DeviceRenderer::imageSize(Device& device) {
  const Layout layout = layoutFor(device);
  return {std::ceil(layout.canvasWidth * options_.pixelsPerPoint),
          std::ceil(layout.canvasHeight * options_.pixelsPerPoint)};
}

CGPoint DeviceRenderer::imagePointForScreenPoint(Device& device, CGPoint screenPoint) {
  const Layout layout = layoutFor(device);
  const double x = screenPoint.x + kBezelSidePoints - layout.bodyWidth / 2;
  const double y = screenPoint.y + kBezelTopPoints - layout.bodyHeight / 2;
  const double c = std::cos(layout.held.tiltRadians);
  const double s = std::sin(layout.held.tiltRadians);
  return {(layout.phoneCenterX + c * x - s * y) * options_.pixelsPerPoint,
          (layout.phoneCenterY + s * x + c * y) * options_.pixelsPerPoint};
}

CGPoint DeviceRenderer::screenPointForImagePoint(Device& device, CGPoint imagePoint) {
  const Layout layout = layoutFor(device);
  const double scale = options_.pixelsPerPoint > 0 ? options_.pixelsPerPoint : 1;
  const double px = imagePoint.x / scale - layout.phoneCenterX;
  const double py = imagePoint.y / scale - layout.phoneCenterY;
  const double c = std::cos(layout.held.tiltRadians);
  const double s = std::sin(layout.held.tiltRadians);
  const double x = c * px + s * py;
  const double y = -s * px + c * py;
  return {x - kBezelSidePoints + layout.bodyWidth / 2, y - kBezelTopPoints + layout.bodyHeight / 2};
}

std::vector<CGRect> DeviceRenderer::buttonBoundsInImage(Device& device, double time) {
  std::vector<CGRect> bounds;
  const bool locked = sceneOf(device, time).deviceLocked;
  for (const auto& visible : UIScreenHardware::of(device).windowsFrontToBack()) {
    if (!visible.window) continue;
    // The lock screen covers the windows below the status bar's level.
    if (locked && visible.window->windowLevel() < UIWindowLevelStatusBar) continue;
    std::vector<const UIButton*> buttons;
    collectButtons(*visible.window, time, buttons);
    const CGPoint origin = visible.window->frame().origin;
    for (const UIButton* button : buttons) {
      const CGRect b = button->bounds();
      double left = 0, top = 0, right = 0, bottom = 0;
      bool first = true;
      for (const CGPoint corner : {CGPointMake(CGRectGetMinX(b), CGRectGetMinY(b)),
                                   CGPointMake(CGRectGetMaxX(b), CGRectGetMinY(b)),
                                   CGPointMake(CGRectGetMinX(b), CGRectGetMaxY(b)),
                                   CGPointMake(CGRectGetMaxX(b), CGRectGetMaxY(b))}) {
        const CGPoint inWindow = button->convertPointToView(corner, nullptr);
        const CGPoint image = imagePointForScreenPoint(
            device, CGPointMake(inWindow.x + origin.x, inWindow.y + origin.y));
        left = first ? image.x : std::min(left, image.x);
        right = first ? image.x : std::max(right, image.x);
        top = first ? image.y : std::min(top, image.y);
        bottom = first ? image.y : std::max(bottom, image.y);
        first = false;
      }
      bounds.push_back(CGRectMake(left, top, right - left, bottom - top));
    }
  }
  return bounds;
}

CGRect DeviceRenderer::phoneBoundsInImage(Device& device) {
  constexpr double kShadowPoints = 14;
  const Layout layout = layoutFor(device);
  const double c = std::abs(std::cos(layout.held.tiltRadians));
  const double s = std::abs(std::sin(layout.held.tiltRadians));
  const double width = layout.bodyWidth * c + layout.bodyHeight * s + 2 * kShadowPoints;
  const double height = layout.bodyWidth * s + layout.bodyHeight * c + 2 * kShadowPoints;
  const double left = std::max(0.0, layout.phoneCenterX - width / 2);
  const double top = std::max(0.0, layout.phoneCenterY - height / 2);
  const double right = std::min(layout.canvasWidth, layout.phoneCenterX + width / 2);
  const double bottom =
      std::min(layout.canvasHeight - kCaptionHeightPoints, layout.phoneCenterY + height / 2);
  const double scale = options_.pixelsPerPoint;
  return CGRectMake(std::floor(left * scale), std::floor(top * scale),
                    std::ceil((right - left) * scale), std::ceil((bottom - top) * scale));
}

// ---- drawing --------------------------------------------------------------------------------

RenderedFrame DeviceRenderer::render(Device& device, double time, std::string_view caption) {
  const CGSize size = imageSize(device);
  CairoCanvas canvas = CairoCanvas::image(pixelCount(size.width), pixelCount(size.height));
  draw(canvas.context(), device, time, caption);
  RenderedFrame frame;
  frame.pixels = canvas.pixels();
  if (!frame.pixels.empty()) {
    frame.width = pixelCount(size.width);
    frame.height = pixelCount(size.height);
  }
  return frame;
}

bool DeviceRenderer::writePng(Device& device, double time, const std::filesystem::path& file,
                              std::string_view caption, std::string& error) {
  const CGSize size = imageSize(device);
  CairoCanvas canvas = CairoCanvas::image(pixelCount(size.width), pixelCount(size.height));
  draw(canvas.context(), device, time, caption);
  if (!canvas.writePng(file, error)) {
    error = file.string() + ": " + error;
    return false;
  }
  return true;
}

std::vector<std::uint8_t> DeviceRenderer::pngData(Device& device, double time,
                                                  std::string_view caption) {
  const CGSize size = imageSize(device);
  CairoCanvas canvas = CairoCanvas::image(pixelCount(size.width), pixelCount(size.height));
  draw(canvas.context(), device, time, caption);
  return canvas.pngData();
}

std::optional<std::filesystem::path> DeviceRenderer::writeFrame(
    Device& device, double time, const std::filesystem::path& directory, std::string_view caption,
    std::string& error) {
  std::error_code code;
  std::filesystem::create_directories(directory, code);
  if (code) {
    error = directory.string() + ": cannot make the folder: " + code.message();
    return std::nullopt;
  }
  std::filesystem::path file = directory / frameFileName(time);
  if (!writePng(device, time, file, caption, error)) return std::nullopt;
  return file;
}

std::string DeviceRenderer::frameFileName(double time) {
  if (!std::isfinite(time) || time < 0) time = 0;
  char name[64];
  std::snprintf(name, sizeof name, "frame-%08.3f.png", time);
  return name;
}

void DeviceRenderer::draw(cairo_t* cr, Device& device, double time, std::string_view caption) {
  const Layout layout = layoutFor(device);
  SpringBoardScene scene = sceneOf(device, time);
  const std::optional<SettingsPageContent> page = settingsPage(device);
  scene.settingsPageShown = page.has_value();
  cairo_scale(cr, options_.pixelsPerPoint, options_.pixelsPerPoint);

  // A light backdrop with the caption band at the bottom.
  cairo_pattern_t* backdrop = cairo_pattern_create_linear(0, 0, 0, layout.canvasHeight);
  cairo_pattern_add_color_stop_rgb(backdrop, 0, 0.93, 0.95, 0.97);
  cairo_pattern_add_color_stop_rgb(backdrop, 1, 0.86, 0.89, 0.93);
  cairo_set_source(cr, backdrop);
  cairo_paint(cr);
  cairo_pattern_destroy(backdrop);

  cairo_save(cr);
  cairo_translate(cr, layout.phoneCenterX, layout.phoneCenterY);
  cairo_rotate(cr, layout.held.tiltRadians);
  cairo_translate(cr, -layout.bodyWidth / 2, -layout.bodyHeight / 2);
  drawPhone(cr, layout.bodyWidth, layout.bodyHeight);
  cairo_translate(cr, kBezelSidePoints, kBezelTopPoints);
  cairo_rectangle(cr, 0, 0, layout.screen.width, layout.screen.height);
  cairo_clip(cr);
  drawScreen(cr, device, scene, page);
  cairo_restore(cr);

  drawCaption(cr, layout, scene, caption);
}

void DeviceRenderer::drawScreen(cairo_t* cr, Device& device, const SpringBoardScene& scene,
                                const std::optional<SettingsPageContent>& page) {
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);

  const auto frontToBack = UIScreenHardware::of(device).windowsFrontToBack();
  const std::vector<UIScreenHardware::VisibleWindow> windows(frontToBack.rbegin(),
                                                             frontToBack.rend());
  auto drawWindows = [&](auto&& select) {
    for (const auto& visible : windows) {
      if (visible.window && select(visible.window->windowLevel())) {
        views_.draw(cr, *visible.window, scene.time);
      }
    }
  };

  if (!scene.deviceLocked) {
    SpringBoardPainter::drawBackdrop(cr, scene);
    if (page) drawSettingsPage(cr, scene, *page);
    drawWindows([](double level) { return level < UIWindowLevelStatusBar; });
  }
  if (scene.deviceLocked) SpringBoardPainter::drawLockScreen(cr, scene);
  SpringBoardPainter::drawStatusStrip(cr, scene);

  drawWindows(
      [](double level) { return level >= UIWindowLevelStatusBar && level <= UIWindowLevelAlert; });
  for (const AlertContent& alert : alerts(device)) AlertPainter::draw(cr, scene.screen, alert);
  drawWindows([](double level) { return level > UIWindowLevelAlert; });
}

void DeviceRenderer::drawSettingsPage(cairo_t* cr, const SpringBoardScene& scene,
                                      const SettingsPageContent& page) {
  constexpr double kNavigationBarBottom = 64;
  const double w = scene.screen.width;
  cairo_save(cr);
  CairoCanvas::setColor(cr, rgbHex(0xF2F2F7));
  cairo_paint(cr);

  // The page scrolls under the navigation bar: its view and rows start below it, moved up as
  // far as the row in view needs.
  const double viewportHeight = scene.screen.height - kNavigationBarBottom;
  double rowsTop = 0;
  if (page.view) {
    for (const auto& subview : page.view->subviews()) {
      if (subview && !subview->isHidden())
        rowsTop = std::max(rowsTop, CGRectGetMaxY(subview->frame()));
    }
  }
  double offset = 0;
  if (page.rowInView >= 0 && static_cast<std::size_t>(page.rowInView) < page.rows.size()) {
    std::vector<ListPagePainter::Span> spans;
    const double bottom = ListPagePainter::layout(cr, rowsTop, w, page.rows, spans);
    const ListPagePainter::Span& span = spans[static_cast<std::size_t>(page.rowInView)];
    offset =
        scrollOffsetShowing(span.top, span.bottom, bottom, viewportHeight, kScrollMarginPoints);
  }
  cairo_save(cr);
  cairo_rectangle(cr, 0, kNavigationBarBottom, w, viewportHeight);
  cairo_clip(cr);
  cairo_translate(cr, 0, kNavigationBarBottom - offset);
  if (page.view) views_.draw(cr, *page.view, scene.time);
  ListPagePainter::draw(cr, rowsTop, w, page.rows);
  cairo_restore(cr);

  cairo_rectangle(cr, 0, 0, w, kNavigationBarBottom);
  CairoCanvas::setColor(cr, rgbHex(0xF9F9F9, 0.96));
  cairo_fill(cr);
  cairo_rectangle(cr, 0, kNavigationBarBottom - 0.5, w, 0.5);
  CairoCanvas::setColor(cr, rgbHex(0xB2B2B2));
  cairo_fill(cr);
  TextStyle back{17, Weight::Regular, rgbHex(0x007AFF), Align::Left};
  cairo_set_line_width(cr, 2.5);
  CairoCanvas::setColor(cr, back.color);
  cairo_move_to(cr, 19, 33);
  cairo_line_to(cr, 11, 42);
  cairo_line_to(cr, 19, 51);
  cairo_stroke(cr);
  CairoCanvas::drawText(cr, "Settings", 25, 48, back);
  TextStyle title{17, Weight::Bold, Rgba{0, 0, 0, 1}, Align::Center};
  CairoCanvas::drawText(cr, page.title, w / 2, 48, title, w - 200);
  cairo_restore(cr);
}

void DeviceRenderer::drawCaption(cairo_t* cr, const Layout& layout, const SpringBoardScene& scene,
                                 std::string_view caption) {
  const double top = layout.canvasHeight - kCaptionHeightPoints;
  const double left = kMarginPoints;
  const double width = layout.canvasWidth - 2 * kMarginPoints;

  CairoCanvas::roundedRectangle(cr, left - 12, top, width + 24, kCaptionHeightPoints - 12, 12);
  CairoCanvas::setColor(cr, Rgba{1, 1, 1, 0.85});
  cairo_fill(cr);

  // Line 1: the time, then the caller's caption.
  TextStyle time{17, Weight::Bold, kCaptionText, Align::Left};
  const std::string timeText = fixed(scene.time, 3) + " s";
  CairoCanvas::drawText(cr, timeText, left, top + 25, time);
  if (!caption.empty()) {
    TextStyle text{16, Weight::Regular, kCaptionText, Align::Left};
    const double x = left + CairoCanvas::textWidth(cr, timeText, time) + 14;
    CairoCanvas::drawText(cr, caption, x, top + 25, text, left + width - x);
  }

  // Line 2: what is on the screen. Line 3: the locks and how the device is held.
  std::string shown;
  if (scene.frontBundleId.empty()) {
    shown = "Home screen";
  } else {
    shown = SpringBoardPainter::appName(scene.frontBundleId) + " (" + scene.frontBundleId +
            ") in front, " + SpringBoardPainter::orientationName(scene.orientation);
  }
  if (scene.deviceLocked) shown += "  \u00B7  device locked";
  std::string state = std::string("Orientation lock ") + (scene.orientationLocked ? "on" : "off") +
                      "  \u00B7  " + layout.held.words + " (roll " +
                      fixed(layout.attitude.roll(), 2) + ", pitch " +
                      fixed(layout.attitude.pitch(), 2) + " rad)";
  TextStyle detail{13.5, Weight::Regular, kCaptionSecondary, Align::Left};
  CairoCanvas::drawText(cr, shown, left, top + 47, detail, width);
  CairoCanvas::drawText(cr, state, left, top + 67, detail, width);
}

}  // namespace sim
