// Pictures of the simulated device: what is on screen at a moment shows in the frame's pixels
// where the screen has it, at the alpha and rotation presented then.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "CoreMotion/MotionHardware.h"
#include "Device/TemporaryFolder.h"
#include "Foundation/Value.h"
#include "Preferences/PSListControllerUser.h"
#include "Preferences/PSSpecifier.h"
#include "QuartzCore/CABasicAnimation.h"
#include "SettingsApp/PreferencesPaneHost.h"
#include "SpringBoard/HomeScreenState.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UIViewController.h"
#include "UIKit/UIWindow.h"
#include "sim/PreferenceBundleInstaller.h"
#include "sim/pictures/DeviceRenderer.h"
#include "sim/pictures/FrameRecorder.h"
#include "sim/pictures/ScrollOffset.h"
#include "sim/pictures/SettingsPageAdapter.h"
#include "sim/pictures/Storyboard.h"
#include "support/ScopedTestDevice.h"

namespace sim {
namespace {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// An opaque premultiplied pixel's colour.
Rgb rgbOf(std::uint32_t pixel) {
  return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
          static_cast<int>(pixel & 0xFF)};
}

int distance(Rgb a, Rgb b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

Rgb toRgb(const UIColor& color) {
  return {static_cast<int>(std::lround(color.red() * 255)),
          static_cast<int>(std::lround(color.green() * 255)),
          static_cast<int>(std::lround(color.blue() * 255))};
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An image of `width` × `height` pixels whose top half is `top` and bottom half `bottom`.
std::shared_ptr<UIImage> twoToneImage(int width, int height, std::uint32_t top,
                                      std::uint32_t bottom) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels[static_cast<std::size_t>(y * width + x)] = y < height / 2 ? top : bottom;
    }
  }
  return std::make_shared<UIImage>(width, height, std::move(pixels));
}

const UIColor kButtonColor = UIColor::colorWithRed(0.9, 0.1, 0.2, 1);

class DeviceRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HomeScreenState& home = HomeScreenState::of(device_.device());
    ASSERT_TRUE(home.installApplication("com.example.app"));
    ASSERT_TRUE(home.setFrontApplication("com.example.app", 1));
    home.setOrientationLocked(true, OrientationLockActor::User);
    MotionHardware::of(device_.device()).setAttitude(0, 1.4);  // upright portrait
  }

  // A full-screen window above the platform's alerts holding a round, bordered button, as
  // the overlay shows the floating button.
  std::shared_ptr<UIButton> showButton(const CGRect& frame, const UIColor& color) {
    window_ = UIWindow::initWithFrame(UIScreen::mainScreen().bounds());
    window_->setWindowLevel(UIWindowLevelAlert + 1);
    window_->setRootViewController(std::make_shared<UIViewController>());
    window_->setHidden(false);
    auto button = UIButton::initWithFrame(frame);
    button->setBackgroundColor(color);
    button->setClipsToBounds(true);
    button->layer()->setCornerRadius(frame.size.width / 2);
    button->layer()->setBorderWidth(2);
    button->layer()->setBorderColor(UIColor::blackColor());
    window_->addSubview(button);
    return button;
  }

  Rgb pixelAtScreenPoint(DeviceRenderer& renderer, const RenderedFrame& frame, CGPoint point) {
    const CGPoint image = renderer.imagePointForScreenPoint(device_.device(), point);
    return rgbOf(frame.pixelAt(static_cast<int>(std::floor(image.x)),
                               static_cast<int>(std::floor(image.y))));
  }

  Device& device() { return device_.device(); }
  double now() { return device_.device().now(); }

  ScopedTestDevice device_;
  std::shared_ptr<UIWindow> window_;
};

TEST_F(DeviceRendererTest, ButtonIsDrawnWhereItIsOnScreenWhileShownOnly) {
  struct Case {
    const char* name;
    RenderOptions options;
    double roll, pitch;  // how the device is held
  };
  const Case cases[] = {
      {"upright", {1.0, true}, 0, 1.4},
      {"held on its right edge", {1.0, true}, 1.5, 0},
      {"held on its left edge, twice the pixels", {2.0, true}, -1.5, 0},
      {"tilt off", {1.0, false}, 1.5, 0},
  };
  const CGRect frame = CGRectMake(150, 367, 75, 75);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MotionHardware::of(device()).setAttitude(c.roll, c.pitch);
    DeviceRenderer renderer(c.options);
    auto button = showButton(frame, kButtonColor);

    RenderedFrame shown = renderer.render(device(), now());
    ASSERT_GT(shown.width, 0);
    const CGSize size = renderer.imageSize(device());
    EXPECT_EQ(shown.width, static_cast<int>(size.width));
    EXPECT_EQ(shown.height, static_cast<int>(size.height));
    EXPECT_LE(distance(pixelAtScreenPoint(renderer, shown, {187.5, 404.5}), toRgb(kButtonColor)),
              2);
    // The black 2-point border runs along the circle's edge: 1 point inside it is black.
    EXPECT_LE(distance(pixelAtScreenPoint(renderer, shown, {187.5, 368}), {0, 0, 0}), 100);
    // Outside the circle, in the bounding square's corner, the app shows through.
    EXPECT_GT(distance(pixelAtScreenPoint(renderer, shown, {152, 369}), toRgb(kButtonColor)), 60);

    button->removeFromSuperview();
    RenderedFrame removed = renderer.render(device(), now());
    EXPECT_GT(distance(pixelAtScreenPoint(renderer, removed, {187.5, 404.5}), toRgb(kButtonColor)),
              60);
    window_.reset();
  }
}

TEST_F(DeviceRendererTest, DraggedButtonIsDrawnAtItsNewFrame) {
  // A drag moves the button through its transform, as the floating button's pan does.
  DeviceRenderer renderer;
  auto button = showButton(CGRectMake(150, 367, 75, 75), kButtonColor);
  button->setTransform(CGAffineTransformMakeTranslation(-100, 150));
  ASSERT_EQ(button->frame(), CGRectMake(50, 517, 75, 75));
  RenderedFrame frame = renderer.render(device(), now());
  EXPECT_LE(distance(pixelAtScreenPoint(renderer, frame, {87.5, 554.5}), toRgb(kButtonColor)), 2);
  EXPECT_GT(distance(pixelAtScreenPoint(renderer, frame, {187.5, 404.5}), toRgb(kButtonColor)), 60);
}

TEST_F(DeviceRendererTest, FadeInFlightBlendsTheButtonWithWhatLiesBeneath) {
  DeviceRenderer renderer;
  auto button = showButton(CGRectMake(100, 200, 80, 80), kButtonColor);
  button->setAlpha(0);
  const CGPoint center{140, 240};
  const Rgb beneath = pixelAtScreenPoint(renderer, renderer.render(device(), now()), center);
  UIView::animateWithDuration(
      0.2, 0, UIViewAnimationOptionCurveLinear, [&] { button->setAlpha(1); }, nullptr);
  const double start = now();

  const Rgb half = pixelAtScreenPoint(renderer, renderer.render(device(), start + 0.1), center);
  const Rgb full = toRgb(kButtonColor);
  EXPECT_NEAR(half.r, (beneath.r + full.r) / 2.0, 3);
  EXPECT_NEAR(half.g, (beneath.g + full.g) / 2.0, 3);
  EXPECT_NEAR(half.b, (beneath.b + full.b) / 2.0, 3);
  EXPECT_LE(
      distance(pixelAtScreenPoint(renderer, renderer.render(device(), start + 0.2), center), full),
      2);
}

TEST_F(DeviceRendererTest, SpinningLayerTurnsTheBackgroundImageClockwise) {
  DeviceRenderer renderer;
  const std::uint32_t green = 0xFF00C800, blue = 0xFF0000C8;
  auto button = showButton(CGRectMake(100, 200, 100, 100), kButtonColor);
  button->setBackgroundImage(twoToneImage(50, 50, green, blue), UIControlStateNormal);
  auto spin = CABasicAnimation::animationWithKeyPath("transform.rotation");
  spin->setFromValue(Foundation::Value::integer(0));
  spin->setToValue(Foundation::Value::real(std::numbers::pi));
  spin->setDuration(1.0);
  button->layer()->addAnimation(spin, "rotationAnimation");
  const double start = now();

  struct Case {
    double at;
    CGPoint greenPoint, bluePoint;
  };
  const Case cases[] = {
      {0.0, {150, 220}, {150, 280}},   // at rest: green on top
      {0.5, {180, 250}, {120, 250}},   // a quarter turn clockwise: green on the right
      {0.99, {150, 280}, {150, 220}},  // nearly half a turn: green at the bottom
      {1.0, {150, 220}, {150, 280}},   // the animation has ended: at rest again
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at);
    RenderedFrame frame = renderer.render(device(), start + c.at);
    EXPECT_LE(distance(pixelAtScreenPoint(renderer, frame, c.greenPoint), rgbOf(green)), 3);
    EXPECT_LE(distance(pixelAtScreenPoint(renderer, frame, c.bluePoint), rgbOf(blue)), 3);
  }
}

TEST_F(DeviceRendererTest, FrontAppContentTurnsWithItsInterfaceOrientation) {
  // The app's bar runs along the content's top edge, which each orientation puts elsewhere.
  DeviceRenderer renderer;
  const CGSize screen = UIScreenHardware::of(device()).bounds().size;
  struct Case {
    long long orientation;
    CGPoint barPoint;
  };
  const Case cases[] = {
      {1, {screen.width / 2 + 80, 30}},
      {2, {screen.width / 2 - 80, screen.height - 30}},
      {3, {screen.width - 30, screen.height / 2 + 120}},
      {4, {30, screen.height / 2 - 120}},
  };
  HomeScreenState& home = HomeScreenState::of(device());
  Rgb bar;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.orientation);
    ASSERT_TRUE(home.setFrontApplication("com.example.app", c.orientation));
    RenderedFrame frame = renderer.render(device(), now());
    const Rgb atBar = pixelAtScreenPoint(renderer, frame, c.barPoint);
    if (c.orientation == 1) bar = atBar;
    EXPECT_LE(distance(atBar, bar), 2);
    if (c.orientation != 1) {
      EXPECT_GT(distance(pixelAtScreenPoint(renderer, frame, cases[0].barPoint), bar), 30);
    }
  }
}

TEST_F(DeviceRendererTest, ScreenLayersStackAsTheirLevelsSay) {
  // An app-level window and the overlay level, shown in the opposite order; then an alert
  // between them, then the lock screen.
  DeviceRenderer renderer;
  bool alertUp = false;
  renderer.setAlertSource([&](Device&) {
    return alertUp ? std::vector<AlertContent>{{"Alert", "", {{"OK"}}}}
                   : std::vector<AlertContent>{};
  });
  auto square = [](UIWindowLevel level, CGRect frame, const UIColor& color) {
    auto window = UIWindow::initWithFrame(UIScreen::mainScreen().bounds());
    window->setWindowLevel(level);
    auto view = UIView::initWithFrame(frame);
    view->setBackgroundColor(color);
    window->addSubview(view);
    window->setHidden(false);
    return window;
  };
  const UIColor red = UIColor::colorWithRed(1, 0, 0, 1);
  const UIColor blue = UIColor::colorWithRed(0, 0, 1, 1);
  auto overlay = square(UIWindowLevelAlert + 1, CGRectMake(130, 130, 60, 60), blue);
  auto app = square(UIWindowLevelNormal, CGRectMake(100, 100, 60, 60), red);
  const CGPoint appOnly{105, 105}, both{145, 145}, overlayOnly{185, 185};

  struct Case {
    const char* name;
    bool alert, locked;
    bool appShowsPure;
  };
  const Case cases[] = {
      {"plain", false, false, true},
      {"alert dims what lies below it", true, false, false},
      {"the lock screen covers the app", false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    alertUp = c.alert;
    HomeScreenState::of(device()).setDeviceLocked(c.locked);
    RenderedFrame frame = renderer.render(device(), now());
    EXPECT_EQ(distance(pixelAtScreenPoint(renderer, frame, appOnly), toRgb(red)) <= 2,
              c.appShowsPure);
    EXPECT_LE(distance(pixelAtScreenPoint(renderer, frame, both), toRgb(blue)), 2);
    EXPECT_LE(distance(pixelAtScreenPoint(renderer, frame, overlayOnly), toRgb(blue)), 2);
  }
}

TEST_F(DeviceRendererTest, LabelTextShowsAtItsAlpha) {
  DeviceRenderer renderer;
  showButton(CGRectMake(0, 0, 1, 1), kButtonColor);  // the window
  auto label = UILabel::initWithFrame(CGRectMake(40, 300, 300, 60));
  label->setBackgroundColor(UIColor::whiteColor());
  label->setText("HELLO WORLD");
  label->setFont(UIFont::systemFontOfSize(40));
  label->setTextAlignment(NSTextAlignmentCenter);
  window_->addSubview(label);

  auto darkPixels = [&](double alpha) {
    label->setAlpha(alpha);
    RenderedFrame frame = renderer.render(device(), now());
    int dark = 0;
    for (int y = 302; y < 358; y += 2) {
      for (int x = 42; x < 338; x += 2) {
        if (distance(pixelAtScreenPoint(renderer, frame, CGPointMake(x, y)), {0, 0, 0}) < 80) {
          ++dark;
        }
      }
    }
    return dark;
  };
  EXPECT_GT(darkPixels(1.0), 100);
  EXPECT_EQ(darkPixels(0.0), 0);
}

TEST_F(DeviceRendererTest, StatusStripShowsTheOrientationLock) {
  DeviceRenderer renderer;
  HomeScreenState& home = HomeScreenState::of(device());
  const CGSize screen = UIScreenHardware::of(device()).bounds().size;
  auto iconArea = [&] {
    RenderedFrame frame = renderer.render(device(), now());
    std::vector<std::uint32_t> area;
    for (int y = 2; y < 19; ++y) {
      for (int x = -9; x <= 9; ++x) {
        const CGPoint p =
            renderer.imagePointForScreenPoint(device(), CGPointMake(screen.width - 48 + x, y));
        area.push_back(frame.pixelAt(static_cast<int>(p.x), static_cast<int>(p.y)));
      }
    }
    return area;
  };
  const auto locked = iconArea();
  home.setOrientationLocked(false, OrientationLockActor::User);
  EXPECT_NE(iconArea(), locked);
}

TEST_F(DeviceRendererTest, FrameFilesAreNamedByTheirTimeAndReadBackAsPng) {
  struct Case {
    double time;
    const char* name;
  };
  const Case names[] = {{0, "frame-0000.000.png"},         {12.3, "frame-0012.300.png"},
                        {2.0004, "frame-0002.000.png"},    {9999.9994, "frame-9999.999.png"},
                        {86400.25, "frame-86400.250.png"}, {-1, "frame-0000.000.png"}};
  for (const Case& c : names) EXPECT_EQ(DeviceRenderer::frameFileName(c.time), c.name);

  TemporaryFolder folder("gyrowhirl-render-test-");
  ASSERT_TRUE(folder.valid());
  DeviceRenderer renderer;
  showButton(CGRectMake(150, 367, 75, 75), kButtonColor);
  std::string error;
  auto file = renderer.writeFrame(device(), now(), folder.path() / "frames", "button shown", error);
  ASSERT_TRUE(file) << error;
  EXPECT_EQ(file->filename(), DeviceRenderer::frameFileName(now()));
  auto image = UIImage::imageWithData(readBytes(*file));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixelWidth(), static_cast<int>(renderer.imageSize(device()).width));
  const CGPoint center = renderer.imagePointForScreenPoint(device(), {187.5, 404.5});
  EXPECT_LE(distance(rgbOf(image->pixelAt(static_cast<int>(center.x), static_cast<int>(center.y))),
                     toRgb(kButtonColor)),
            2);

  EXPECT_FALSE(renderer.writePng(device(), now(), folder.path() / "missing" / "x.png", "", error));
  EXPECT_NE(error.find("missing"), std::string::npos);
}

TEST_F(DeviceRendererTest, RecordersSceneSignatureChangesExactlyWithWhatIsShown) {
  TemporaryFolder folder("gyrowhirl-signature-test-");
  FrameRecorder renderer(folder.path());  // nothing is written: only what it would show
  const std::uint64_t empty = renderer.sceneSignature(device(), now());
  device_.runFor(5);  // only the clock moves
  EXPECT_EQ(renderer.sceneSignature(device(), now()), empty);

  auto button = showButton(CGRectMake(150, 367, 75, 75), kButtonColor);
  button->setAlpha(0);
  UIView::animateWithDuration(
      0.2, 0, UIViewAnimationOptionCurveLinear, [&] { button->setAlpha(1); }, nullptr);
  const double start = now();
  const std::uint64_t midFade = renderer.sceneSignature(device(), start + 0.1);
  const std::uint64_t faded = renderer.sceneSignature(device(), start + 0.3);
  EXPECT_NE(midFade, empty);
  EXPECT_NE(midFade, faded);
  EXPECT_EQ(renderer.sceneSignature(device(), start + 0.5), faded);

  HomeScreenState::of(device()).setOrientationLocked(false, OrientationLockActor::Tweak);
  EXPECT_NE(renderer.sceneSignature(device(), start + 0.5), faded);
  button->removeFromSuperview();
  window_.reset();
  HomeScreenState::of(device()).setOrientationLocked(true, OrientationLockActor::User);
  EXPECT_EQ(renderer.sceneSignature(device(), now()), empty);
}

TEST_F(DeviceRendererTest, SettingsPageAndAlertComeFromTheirSources) {
  DeviceRenderer renderer;
  bool switchOn = true;
  bool alertShown = false;
  renderer.setSettingsPageSource([&](Device&) {
    SettingsPageContent page;
    page.title = "Gyrowhirl";
    ListRow group;
    group.kind = ListRow::Kind::Group;
    group.title = "Gyrowhirl";
    ListRow enabled;
    enabled.kind = ListRow::Kind::Switch;
    enabled.title = "Enabled";
    enabled.on = switchOn;
    page.rows = {group, enabled};
    return std::optional<SettingsPageContent>(page);
  });
  renderer.setAlertSource([&](Device&) {
    std::vector<AlertContent> alerts;
    if (alertShown) {
      alerts.push_back({"Confirmation", "Are you sure?", {{"Yes"}, {"No"}}});
    }
    return alerts;
  });
  // The switch's green, counted over the screen.
  const Rgb switchGreen{0x34, 0xC7, 0x59};
  auto greenPixels = [&] {
    RenderedFrame frame = renderer.render(device(), now());
    int count = 0;
    for (int y = 64; y < 200; ++y) {
      for (int x = 250; x < 375; ++x) {
        if (distance(pixelAtScreenPoint(renderer, frame, CGPointMake(x, y)), switchGreen) <= 2) {
          ++count;
        }
      }
    }
    return count;
  };
  const int on = greenPixels();
  EXPECT_GT(on, 200);
  alertShown = true;  // the alert dims the page beneath it
  EXPECT_EQ(greenPixels(), 0);
  alertShown = false;
  switchOn = false;
  EXPECT_EQ(greenPixels(), 0);
}

// The storyboard rings the buttons on screen: their boxes in the picture follow the button's
// place and the way the phone is held, and a hidden or faded-out button has none.
TEST_F(DeviceRendererTest, ButtonBoundsAreWhereTheButtonIsDrawn) {
  auto button = showButton(CGRectMake(150, 367, 75, 75), kButtonColor);
  for (const double roll : {0.0, 1.5}) {
    SCOPED_TRACE(roll);
    MotionHardware::of(device()).setAttitude(roll, roll == 0 ? 1.4 : 0);
    DeviceRenderer renderer({.pixelsPerPoint = 2});
    const auto bounds = renderer.buttonBoundsInImage(device(), now());
    ASSERT_EQ(bounds.size(), 1u);
    const CGPoint center = renderer.imagePointForScreenPoint(device(), CGPointMake(187.5, 404.5));
    EXPECT_NEAR(CGRectGetMidX(bounds[0]), center.x, 1);
    EXPECT_NEAR(CGRectGetMidY(bounds[0]), center.y, 1);
    EXPECT_NEAR(std::max(bounds[0].size.width, bounds[0].size.height), 150, 1);
    const RenderedFrame frame = renderer.render(device(), now());
    EXPECT_LE(distance(rgbOf(frame.pixelAt(static_cast<int>(center.x), static_cast<int>(center.y))),
                       toRgb(kButtonColor)),
              2);
  }
  DeviceRenderer renderer;
  button->setAlpha(0);
  EXPECT_TRUE(renderer.buttonBoundsInImage(device(), now()).empty());
  button->setAlpha(1);
  button->setHidden(true);
  EXPECT_TRUE(renderer.buttonBoundsInImage(device(), now()).empty());
}

TEST(ScrollOffsetTest, ShowsTheSpanWithItsMarginAndNoMore) {
  struct Case {
    const char* name;
    double top, bottom, contentHeight, viewportHeight, margin;
    double offset;
  };
  const Case cases[] = {
      {"in view with its margin: the page's top", 500, 544, 1200, 600, 24, 0},
      {"the margin just fits", 532, 576, 1200, 600, 24, 0},
      {"one point short of its margin", 533, 577, 1200, 600, 24, 1},
      {"far down: just enough", 900, 944, 1200, 600, 24, 368},
      {"the last span: up to the page's end only", 1156, 1200, 1200, 600, 24, 600},
      {"a page shorter than the view never moves", 300, 344, 400, 600, 24, 0},
      {"a span taller than the view shows its top", 700, 1500, 2000, 600, 24, 700},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const double offset =
        scrollOffsetShowing(c.top, c.bottom, c.contentHeight, c.viewportHeight, c.margin);
    EXPECT_DOUBLE_EQ(offset, c.offset);
    if (c.bottom - c.top <= c.viewportHeight) {
      EXPECT_GE(c.top, offset);
      EXPECT_LE(c.bottom, offset + c.viewportHeight);
    }
  }
}

// A page longer than the screen whose last row is a switch: it shows only when the page keeps
// that row in view.
TEST_F(DeviceRendererTest, TheRowInViewIsScrolledOntoTheScreen) {
  DeviceRenderer renderer;
  int rowInView = -1;
  renderer.setSettingsPageSource([&](Device&) {
    SettingsPageContent page;
    page.title = "Long page";
    ListRow group;
    group.kind = ListRow::Kind::Group;
    group.title = "Many";
    group.footer = "A footer long enough to wrap onto a second line under the rows of its group.";
    page.rows.push_back(group);
    for (int i = 0; i < 30; ++i) {
      ListRow row;
      row.title = "Row " + std::to_string(i);
      row.value = std::to_string(i);
      page.rows.push_back(row);
    }
    ListRow enabled;
    enabled.kind = ListRow::Kind::Switch;
    enabled.title = "Last";
    enabled.on = true;
    page.rows.push_back(enabled);
    page.rowInView = rowInView;
    return std::optional<SettingsPageContent>(page);
  });
  const Rgb switchGreen{0x34, 0xC7, 0x59};
  auto greenPixels = [&] {
    RenderedFrame frame = renderer.render(device(), now());
    int count = 0;
    for (int y = 64; y < 667; ++y) {
      for (int x = 250; x < 375; ++x) {
        if (distance(pixelAtScreenPoint(renderer, frame, CGPointMake(x, y)), switchGreen) <= 2) {
          ++count;
        }
      }
    }
    return count;
  };
  EXPECT_EQ(greenPixels(), 0);  // the top of the page
  rowInView = 31;
  EXPECT_GT(greenPixels(), 200);
  rowInView = 5;  // a row near the top leaves the page at its top
  EXPECT_EQ(greenPixels(), 0);
}

// The row the person last changed or pressed is the page's row in view; a page opened again
// starts at its top.
TEST(SettingsPageAdapterTest, ThePageKeepsTheRowLastActedOnInView) {
  ScopedTestDevice device("Preferences");
  std::string error;
  ASSERT_TRUE(PreferenceBundleInstaller::install(
      device.device(), PreferenceBundleInstaller::builtResourceFolder(),
      PreferenceBundleInstaller::builtModuleFile(), error))
      << error;
  PreferencesPaneHost host(device.device().process(PreferencesPaneHost::kSettingsProcessName),
                           PreferenceBundleInstaller::kBundlePath);
  ASSERT_TRUE(host.open(&error)) << error;
  auto rowInView = [&]() -> std::string {
    const auto page = SettingsPageAdapter::pageOf(host);
    if (!page || page->rowInView < 0) return "(top)";
    return page->rows.at(static_cast<std::size_t>(page->rowInView)).title;
  };
  EXPECT_EQ(rowInView(), "(top)");
  ASSERT_TRUE(host.setValue("pSegmentedButtonSize", Foundation::Value::integer(3), &error))
      << error;
  const auto rows = host.rows();
  const auto size = std::find_if(rows.begin(), rows.end(), [](const auto& row) {
    return row.title == "pSegmentedButtonSize";
  });
  ASSERT_NE(size, rows.end());
  EXPECT_EQ(rowInView(), SettingsPageAdapter::listRow(*size).title);  // its label
  ASSERT_TRUE(host.pressButton("Restore Defaults", &error)) << error;
  EXPECT_EQ(rowInView(), "Restore Defaults");
  EXPECT_FALSE(host.setValue("noSuchKey", Foundation::Value::integer(1), &error));
  EXPECT_EQ(rowInView(), "Restore Defaults");  // nothing was acted on
  host.close();
  ASSERT_TRUE(host.open(&error)) << error;
  EXPECT_EQ(rowInView(), "(top)");
}

TEST_F(DeviceRendererTest, RecorderWritesAFrameForEveryVisibleChangeAndThroughFades) {
  TemporaryFolder folder("gyrowhirl-recorder-test-");
  ASSERT_TRUE(folder.valid());
  FrameRecorder recorder(folder.path());
  ASSERT_TRUE(recorder.capture(device()));  // the first frame is always written
  recorder.note("orientation 1 reported");
  ASSERT_TRUE(recorder.advance(device(), 1.0));  // nothing changes on screen
  ASSERT_EQ(recorder.frames().size(), 1u);

  auto button = showButton(CGRectMake(150, 367, 75, 75), kButtonColor);
  button->setAlpha(0);
  UIView::animateWithDuration(
      0.2, 0, UIViewAnimationOptionCurveLinear, [&] { button->setAlpha(1); }, [](bool) {});
  recorder.note("button shown");
  ASSERT_TRUE(recorder.capture(device()));
  ASSERT_TRUE(recorder.advance(device(), 3.0));

  std::vector<double> times;
  std::vector<std::string> captions;
  for (const StoryboardFrame& frame : recorder.frames()) {
    times.push_back(frame.time);
    captions.push_back(frame.caption);
    EXPECT_TRUE(std::filesystem::exists(frame.png));
  }
  ASSERT_EQ(times.size(), 4u);
  EXPECT_DOUBLE_EQ(times[1], 1.0);
  EXPECT_NEAR(times[2], 1.1, 1e-9);  // mid-fade
  EXPECT_NEAR(times[3], 1.2, 1e-9);  // faded in
  EXPECT_EQ(captions, (std::vector<std::string>{"", "button shown", "", ""}));

  ASSERT_TRUE(recorder.finish("Recorder test")) << recorder.error();
  const auto sheet = folder.path() / FrameRecorder::kStoryboardFileName;
  EXPECT_TRUE(UIImage::imageWithData(readBytes(sheet)));
}

TEST(SettingsPageAdapterTest, RowsShowTheirValuesAsTheirCellsDo) {
  using Foundation::Value;
  auto specifier = [](Foundation::Dictionary properties) {
    return PSSpecifier::specifierWithProperties(std::move(properties));
  };
  const Value sizes = Value::array({Value::integer(0), Value::integer(2), Value::integer(3)});
  const Value titles =
      Value::array({Value::string("Small"), Value::string("Medium"), Value::string("Large")});
  struct Case {
    const char* name;
    PSListControllerUser::Row row;
    ListRow::Kind kind;
    std::string title;
    std::string value;
    bool on;
    int selected;
    double fraction;
  };
  const Case cases[] = {
      {"switch",
       {specifier({{"cell", Value::string("PSSwitchCell")}, {"label", Value::string("Enabled")}}),
        "pToggleIsEnabled", Value::boolean(true)},
       ListRow::Kind::Switch,
       "Enabled",
       "",
       true,
       -1,
       0},
      {"segment by value, not by position",
       {specifier({{"cell", Value::string("PSSegmentCell")},
                   {"label", Value::string("Size")},
                   {"validValues", sizes},
                   {"validTitles", titles}}),
        "pSegmentedButtonSize", Value::integer(3)},
       ListRow::Kind::Segments,
       "Size",
       "",
       false,
       2,
       0},
      {"segment with a value it does not list",
       {specifier({{"cell", Value::string("PSSegmentCell")},
                   {"label", Value::string("Size")},
                   {"validValues", sizes}}),
        "pSegmentedButtonSize", Value::integer(1)},
       ListRow::Kind::Segments,
       "Size",
       "",
       false,
       -1,
       0},
      {"slider between its min and max",
       {specifier({{"cell", Value::string("PSSliderCell")},
                   {"min", Value::real(1)},
                   {"max", Value::real(10)}}),
        "pSliderDisappearInterval", Value::real(5.5)},
       ListRow::Kind::Slider,
       "",
       "5.5",
       false,
       -1,
       0.5},
      {"list of apps",
       {specifier({{"cell", Value::string("PSLinkListCell")},
                   {"label", Value::string("Blacklisted Apps")}}),
        "pMultipleChoiceBlacklistedApps",
        Value::array({Value::string("com.a"), Value::string("com.b")})},
       ListRow::Kind::Link,
       "Blacklisted Apps",
       "2 chosen",
       false,
       -1,
       0},
      {"text without a label is known by its key",
       {specifier({{"cell", Value::string("PSEditTextCell")}}), "pColorPickerFABBgColor",
        Value::string("#FF0000:0.5")},
       ListRow::Kind::Value,
       "pColorPickerFABBgColor",
       "#FF0000:0.5",
       false,
       -1,
       0},
      {"button",
       {specifier({{"cell", Value::string("PSButtonCell")},
                   {"label", Value::string("Restore Defaults")}}),
        "Restore Defaults", Value()},
       ListRow::Kind::Button,
       "Restore Defaults",
       "",
       false,
       -1,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ListRow row = SettingsPageAdapter::listRow(c.row);
    EXPECT_EQ(row.kind, c.kind);
    EXPECT_EQ(row.title, c.title);
    EXPECT_EQ(row.value, c.value);
    EXPECT_EQ(row.on, c.on);
    EXPECT_EQ(row.selected, c.selected);
    EXPECT_DOUBLE_EQ(row.fraction, c.fraction);
  }

  const ListRow group = SettingsPageAdapter::listRow(
      {specifier({{"cell", Value::string("PSGroupCell")},
                  {"label", Value::string("Blacklist")},
                  {"footerText", Value::string("No suggestion for these apps.")}}),
       "Blacklist", Value()});
  EXPECT_EQ(group.kind, ListRow::Kind::Group);
  EXPECT_EQ(group.footer, "No suggestion for these apps.");
}

TEST(StoryboardTest, WritesASheetThatReadsBackEvenWithAFrameMissing) {
  TemporaryFolder folder("gyrowhirl-storyboard-test-");
  ASSERT_TRUE(folder.valid());
  ScopedTestDevice device;
  DeviceRenderer renderer;
  std::string error;
  auto first = renderer.writeFrame(device.device(), 0, folder.path(), "boot", error);
  ASSERT_TRUE(first) << error;
  const CGRect phone = renderer.phoneBoundsInImage(device.device());
  const std::vector<StoryboardFrame> frames = {
      {0,
       "boot",
       *first,
       {static_cast<int>(phone.origin.x), static_cast<int>(phone.origin.y),
        static_cast<int>(phone.size.width), static_cast<int>(phone.size.height)},
       {}},
      {1.5, "a frame whose file is gone", folder.path() / "frame-0001.500.png", {}, {}},
  };
  const auto sheet = folder.path() / "storyboard.png";
  ASSERT_TRUE(Storyboard::write(frames, sheet, "Test run", error)) << error;
  auto image = UIImage::imageWithData(readBytes(sheet));
  ASSERT_TRUE(image);
  EXPECT_GT(image->pixelWidth(), 2 * Storyboard::kCellWidthPixels);

  EXPECT_FALSE(Storyboard::write(frames, folder.path() / "no" / "sheet.png", "Test run", error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace sim
