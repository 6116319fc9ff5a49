#include <gtest/gtest.h>

#include "UIKit/UIColor.h"
#include "VXCommon/VXPrefsLoader.h"
#include "support/ScopedTestDevice.h"
#include "tweak/OverlayTestSupport.h"
#include "tweak/PrefsTestSupport.h"

namespace {

constexpr const char* kParsingError =
    "<VX> VXPrefsLoader.cpp:70 colorFromString bg color parsing error, using default";

struct ColorCase {
  const char* text;
  double red, green, blue, alpha;
  bool logsParsingError;
};

TEST(ColorFromStringTest, ParsesLikeTheDeviceScanner) {
  ScopedTestDevice device;
  overlay_test::LogCapture log;
  const double kDefaultAlpha = 0.30000001192092896;  // 0.3 in single precision
  const ColorCase cases[] = {
      {"#FF8000:1", 1, 128 / 255.0, 0, 1, false},
      {"# \t\n0x00FF00:0.5", 0, 1, 0, 0.5, false},  // white space, then a 0x prefix
      {"#0X0000FF:0.25", 0, 0, 1, 0.25, false},
      {"#12G456:1", 0, 0, 0x12 / 255.0, 1, false},  // stops at the first non-hex
      {"#FF112233:1", 0x11 / 255.0, 0x22 / 255.0, 0x33 / 255.0, 1, false},  // last six kept
      {"#123456789:1", 1, 1, 1, 1, false},  // beyond 32 bits: 0xFFFFFFFF
      {"#:0.5", 0, 0, 0, 0.5, false},       // no digit: black
      {":0.5", 0, 0, 0, 0.5, false},        // empty first part
      {"#-12:1", 0, 0, 0, 1, false},        // a sign is no hex digit
      {"#0x:1", 0, 0, 0, 1, false},
      {"FFFFFF:1", 0x0F / 255.0, 1, 1, 1, false},  // the first character is always skipped
      {"\xC3\xA9"
       "ABCDEF:1",
       0xAB / 255.0, 0xCD / 255.0, 0xEF / 255.0, 1, false},
      {"#FFFFFF:abc", 1, 1, 1, 0, false},  // alpha not a number: transparent
      {"#FFFFFF: 0.75x", 1, 1, 1, 0.75, false},
      {"#000000:0.1", 0, 0, 0, 0.10000000149011612, false},
      {"#FFFFFF", 1, 1, 1, kDefaultAlpha, true},   // no ":"
      {"#FF:00:1", 1, 1, 1, kDefaultAlpha, true},  // two ":"
      {"", 1, 1, 1, kDefaultAlpha, true},
  };
  for (const ColorCase& c : cases) {
    SCOPED_TRACE(c.text);
    log.clear();
    const UIColor color = colorFromString(c.text);
    EXPECT_EQ(color, UIColor::colorWithRed(c.red, c.green, c.blue, c.alpha));
    EXPECT_EQ(prefs_test::countContaining(log.lines(), kParsingError),
              c.logsParsingError ? 1u : 0u);
  }
}

}  // namespace
