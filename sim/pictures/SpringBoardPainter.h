// Draws what the home screen itself puts on the device's screen beneath the windows of the
// processes: the front app's content (a stand-in: the simulated apps have no views of their
// own, so each is drawn as a plain app named after its bundle identifier, turned to its
// interface orientation), the home screen with its icon grid, the lock screen, and the status
// strip with the clock and the orientation-lock icon.
//
// Every function draws in the screen's portrait coordinates, in points, (0, 0) at the top-left
// corner of the screen as the device is held upright.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "CoreGraphics/CGGeometry.h"

typedef struct _cairo cairo_t;

namespace sim {

struct Rgba;

// The state of the home screen a picture shows.
struct SpringBoardScene {
  CGSize screen{375, 667};    // points, portrait
  double time = 0;            // virtual seconds
  std::string frontBundleId;  // empty when the home screen is shown
  long long orientation = 1;  // the front app's interface orientation, 1-4
  bool deviceLocked = false;
  bool orientationLocked = false;
  std::vector<std::string> installedApps;  // bundle identifiers, in order of installation
  // A settings page fills the screen (in portrait, light): the status strip follows it.
  bool settingsPageShown = false;
};

class SpringBoardPainter {
 public:
  static constexpr double kStatusStripHeightPoints = 20;

  // The front app's content or the home screen, filling the screen.
  static void drawBackdrop(cairo_t* cr, const SpringBoardScene& scene);
  static void drawLockScreen(cairo_t* cr, const SpringBoardScene& scene);
  // Along the top edge of the content: the front app's turned top edge, the screen's top
  // edge for the home and lock screens and a settings page; dark text over a settings page.
  static void drawStatusStrip(cairo_t* cr, const SpringBoardScene& scene);

  // Makes (0, 0)-(width, height) of `cr` the front app's content area, turned so that its top
  // lies where the interface orientation puts it; returns the content's size.
  static CGSize enterContentCoordinates(cairo_t* cr, const SpringBoardScene& scene);

  // An app's colour, fixed for its bundle identifier, and its display name (the identifier's
  // last part, capitalised: "com.example.maps" -> "Maps").
  static Rgba appColor(std::string_view bundleId);
  static std::string appName(std::string_view bundleId);
  // "portrait", "portrait upside down", "landscape right", "landscape left".
  static std::string orientationName(long long orientation);
  // Virtual time as a clock shows it: "0:12.3" below an hour, "25:03:07" from one.
  static std::string clockText(double seconds);

 private:
  static void drawAppContent(cairo_t* cr, const SpringBoardScene& scene);
  static void drawHomeScreen(cairo_t* cr, const SpringBoardScene& scene);
  static void drawAppIcon(cairo_t* cr, std::string_view bundleId, double x, double y, double side);
  static void drawOrientationLockIcon(cairo_t* cr, double centerX, double centerY, bool on,
                                      const Rgba& color);
};

}  // namespace sim
