// Pictures of the simulated device at a moment of virtual time, drawn with cairo: the phone,
// held the way the device's attitude says (turned in the picture by the direction of gravity
// in the screen's plane), and on its screen, bottom to top:
//   - the front app (a stand-in named after its bundle identifier, turned to its interface
//     orientation) or the home screen with its icons; over it the settings page, when the
//     page source gives one;
//   - the windows on the screen below the status-bar level, from every process;
//   - the lock screen while the device is locked;
//   - the status strip: clock and orientation-lock icon (closed padlock on, open and dimmed
//     off), along the top edge of the app's content;
//   - the windows at and above the status-bar level (the overlay window with the floating
//     button lies above the platform's alerts), with alerts given by the alert source drawn at
//     the alert level;
// and under the phone, upright, a caption: the time, the caller's caption, the front app and
// its orientation, the locks, the attitude.
//
// Views are drawn as presented at the given time (ViewTreePainter): fades and spins in flight
// show their state at that moment. Rendering only reads the device; call it between tasks
// (not from inside one). The time is normally device.now(); a later time before the device's
// next task shows the animations already under way as they will be then.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "sim/pictures/AlertPainter.h"
#include "sim/pictures/ListPagePainter.h"
#include "sim/pictures/ViewTreePainter.h"

class Device;
class UIView;

namespace sim {

struct SpringBoardScene;

// A rendered picture: native-endian 0xAARRGGBB words, premultiplied (cairo's ARGB32), row by
// row from the top.
struct RenderedFrame {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  // 0 (transparent) outside the picture.
  std::uint32_t pixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// A settings page on screen: the Settings app's pane, which keeps its rows as data. Drawn as
// the front app's content, in portrait: a navigation bar with `title`, the page's view (its
// table, whose header view shows the banner and labels), and the rows below the header,
// scrolled so that the row at `rowInView` shows (see scrollOffsetShowing).
struct SettingsPageContent {
  std::string title;
  std::shared_ptr<const UIView> view;  // may be null
  std::vector<ListRow> rows;
  int rowInView = -1;  // an index into `rows`; -1: the page's top
};

struct RenderOptions {
  // Picture pixels per screen point.
  double pixelsPerPoint = 1.0;
  // Turn the phone in the picture as the device is held; upright always when false.
  bool tiltWithAttitude = true;
};

class DeviceRenderer {
 public:
  // Draws the content of views of one class (see ViewTreePainter::ContentPainter).
  using ViewPainter = ViewTreePainter::ContentPainter;
  // The alerts on screen now, back to front; called on every render.
  using AlertSource = std::function<std::vector<AlertContent>(Device& device)>;
  // The settings page on screen now, if any; called on every render.
  using SettingsPageSource = std::function<std::optional<SettingsPageContent>(Device& device)>;

  // Below this much gravity in the screen's plane (in g) the device counts as lying flat and
  // the phone is drawn upright.
  static constexpr double kFlatInPlaneGravityG = 0.25;

  explicit DeviceRenderer(RenderOptions options = {});

  void setViewPainter(std::string className, ViewPainter painter);
  void setAlertSource(AlertSource source) { alertSource_ = std::move(source); }
  void setSettingsPageSource(SettingsPageSource source) { pageSource_ = std::move(source); }

  // The picture of `device` at virtual time `time`. `caption` is printed under the phone
  // (the event that the picture shows, say).
  RenderedFrame render(Device& device, double time, std::string_view caption = {});
  // Draws as render() and writes a PNG file. False, with the reason in `error`, when the
  // file cannot be written.
  bool writePng(Device& device, double time, const std::filesystem::path& file,
                std::string_view caption, std::string& error);
  // Draws as render() and encodes the picture as PNG; empty when drawing failed.
  std::vector<std::uint8_t> pngData(Device& device, double time, std::string_view caption = {});
  // Writes `directory`/frameFileName(time), making the folder when it is missing. The path
  // written, or nullopt with the reason in `error`.
  std::optional<std::filesystem::path> writeFrame(Device& device, double time,
                                                  const std::filesystem::path& directory,
                                                  std::string_view caption, std::string& error);

  // "frame-0012.300.png": the time in seconds with 3 decimals, the whole seconds zero-padded
  // to 4 digits (more when needed), so that names sort by time up to 9999.999 s.
  static std::string frameFileName(double time);

  // Where a screen point (portrait points) lies in the picture, in pixels.
  CGPoint imagePointForScreenPoint(Device& device, CGPoint screenPoint);
  // The screen point (portrait points) drawn at a pixel of the picture: the inverse of
  // imagePointForScreenPoint(), for a pointer on the picture.
  CGPoint screenPointForImagePoint(Device& device, CGPoint imagePoint);
  // The size of the pictures of `device`, in pixels.
  CGSize imageSize(Device& device);
  // The part of the picture the phone takes (with its shadow), in pixels: a crop for
  // thumbnails (StoryboardFrame::crop), which leaves out the caption too.
  CGRect phoneBoundsInImage(Device& device);
  // Where the buttons on screen at `time` (in any window, neither hidden nor faded out) lie in
  // the picture, in pixels: the box around each, turned as the phone is held.
  std::vector<CGRect> buttonBoundsInImage(Device& device, double time);

  // What the pictures show besides the views, for a caller that compares moments
  // (FrameRecorder): the home screen's state at `time`; how the phone is held, in the
  // caption's words ("held upright", "lying flat, face up"); what the sources give now.
  static SpringBoardScene sceneOf(Device& device, double time);
  static std::string howHeld(Device& device);
  std::optional<SettingsPageContent> settingsPage(Device& device);
  std::vector<AlertContent> alerts(Device& device);

 private:
  struct Layout;
  Layout layoutFor(Device& device);
  void draw(cairo_t* cr, Device& device, double time, std::string_view caption);
  void drawScreen(cairo_t* cr, Device& device, const SpringBoardScene& scene,
                  const std::optional<SettingsPageContent>& page);
  void drawSettingsPage(cairo_t* cr, const SpringBoardScene& scene,
                        const SettingsPageContent& page);
  void drawCaption(cairo_t* cr, const Layout& layout, const SpringBoardScene& scene,
                   std::string_view caption);

  RenderOptions options_;
  ViewTreePainter views_;
  AlertSource alertSource_;
  SettingsPageSource pageSource_;
};

}  // namespace sim
