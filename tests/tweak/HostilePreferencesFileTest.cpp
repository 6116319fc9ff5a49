// Preference files that no settings pane writes: garbage, truncated and broken binary files,
// nesting past the reader's limit, a file past the size limit, a very large file, every known
// key holding a value of every wrong kind, odd keys. The running tweak reads each as it reads
// a settings change: it must not crash, it broadcasts what it could convert (nothing for an
// unreadable file), every consumer falls back to its value for a missing setting, and the log
// shows the lines the store defines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "Device/DeviceFileSystem.h"
#include "Foundation/PropertyList.h"
#include "UIKit/UIColor.h"
#include "VXCommon/VXAlertHelper.h"
#include "VXCommon/VXPrefsLoader.h"
#include "VXCommon/VXTweakManager.h"
#include "support/RealisticPreferences.h"
#include "support/ScopedTestDevice.h"
#include "tweak/OverlayTestSupport.h"
#include "tweak/PrefsTestSupport.h"

namespace {

using Foundation::Array;
using Foundation::Data;
using Foundation::Dictionary;
using Foundation::Value;
using prefs_test::countContaining;

constexpr const char* kUndefinedLine = "ERROR! got undefined pref type";

Data bytesOf(std::string_view text) {
  return Data(text.begin(), text.end());
}

Data xmlOf(const Dictionary& dict) {
  return bytesOf(Foundation::PropertyList::toXML(Value::dictionary(dict)));
}

void putBigEndian(Data& bytes, std::size_t at, std::uint64_t value, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    bytes[at + width - 1 - i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

std::uint64_t getBigEndian(const Data& bytes, std::size_t at, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value = (value << 8) | bytes[at + i];
  return value;
}

std::string nested(const char* open, const char* close, int depth, const char* inner) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += open;
  text += inner;
  for (int i = 0; i < depth; ++i) text += close;
  return text;
}

std::string xmlDocument(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body +
         "</plist>\n";
}

class HostilePreferencesFileTest : public ::testing::Test {
 protected:
  HostilePreferencesFileTest() {
    manager_ = VXTweakManager::sharedInstance();
    // The first read of a process posts 2 s later; every read after that posts at once.
    readPrefs();
    device_.runFor(2.0);
  }

  DeviceFileSystem& files() { return device_.device().fileSystem(); }

  // Writes `bytes` as the preferences file and makes one read, as a settings change does.
  // Returns the broadcast dictionary.
  Dictionary readFile(const Data& bytes) {
    EXPECT_TRUE(files().writeAtomically(VXPrefsLoader::kPrefsPath, bytes));
    log_.clear();
    const std::size_t before = broadcasts_.count();
    readPrefs();
    EXPECT_EQ(broadcasts_.count(), before + 1) << "every read broadcasts, whatever it read";
    EXPECT_EQ(countContaining(log_.lines(), "prefs updated..."), 1u);
    EXPECT_EQ(countContaining(log_.lines(), "prefs posted (update)"), 1u);
    const Dictionary* prefs =
        broadcasts_.count() ? broadcasts_.objects().back().dictionaryValue() : nullptr;
    return prefs ? *prefs : Dictionary{{"no dictionary was broadcast", Value()}};
  }

  // Every consumer's value for a missing setting.
  void expectFallbacks() {
    EXPECT_FALSE(manager_->isTweakDisabled());
    EXPECT_EQ(manager_->fabDisappearInterval(), VXTweakManager::kFallbackDisappearIntervalSeconds);
    EXPECT_TRUE(manager_->blacklistedApps().empty());
    const VXAlertHelper& alert = *manager_->alertHelper();
    EXPECT_EQ(alert.FABColor(), UIColor::whiteColor());
    EXPECT_EQ(alert.FABSize(), 0);
    EXPECT_EQ(alert.FABOrigin().x, 0.0);
    EXPECT_EQ(alert.FABOrigin().y, 0.0);
    EXPECT_EQ(alert.feedbackStyle(), 0);
    EXPECT_TRUE(alert.shouldAnimateFAB());
  }

  // A suggestion put up and taken down with the appearance the last broadcast gave.
  void showAndWithdrawSuggestion() {
    const std::shared_ptr<VXAlertHelper>& alert = manager_->alertHelper();
    alert->displayAlertWithBlock([] {});
    EXPECT_TRUE(alert->isDisplayingAlert());
    device_.runFor(0.3);
    alert->dismissAlert();
    device_.runFor(0.3);
    EXPECT_FALSE(alert->isDisplayingAlert());
  }

  ScopedTestDevice device_;
  overlay_test::LogCapture log_;
  overlay_test::NotificationRecorder broadcasts_{VXPrefsLoader::kPrefsUpdatedNotification};
  std::shared_ptr<VXTweakManager> manager_;
};

// A valid binary file whose offset table or trailer is then damaged.
struct BinaryDamage {
  const char* name;
  // Changes the bytes; `tableOffset`, `offsetSize` and `objects` describe the valid file.
  void (*damage)(Data& bytes, std::size_t tableOffset, std::size_t offsetSize, std::size_t objects);
};

TEST_F(HostilePreferencesFileTest, UnreadableFilesBroadcastNothingAndEveryConsumerFallsBack) {
  const Data realistic = Foundation::PropertyList::toBinary(
      Value::dictionary(test_support::realisticPreferences(200)));
  ASSERT_GT(realistic.size(), 40u);
  const std::size_t trailer = realistic.size() - 32;
  const std::size_t offsetSize = realistic[trailer + 6];
  const std::size_t objects = getBigEndian(realistic, trailer + 8, 8);
  const std::size_t tableOffset = getBigEndian(realistic, trailer + 24, 8);

  const BinaryDamage damages[] = {
      {"every offset points at the header",
       [](Data& b, std::size_t table, std::size_t width, std::size_t n) {
         for (std::size_t i = 0; i < n; ++i) putBigEndian(b, table + i * width, 0, width);
       }},
      {"every offset points past the objects",
       [](Data& b, std::size_t table, std::size_t width, std::size_t n) {
         for (std::size_t i = 0; i < n; ++i) putBigEndian(b, table + i * width, table + 1, width);
       }},
      {"top object's offset points at its own first child",
       [](Data& b, std::size_t table, std::size_t width, std::size_t) {
         putBigEndian(b, table, getBigEndian(b, table + width, width), width);
       }},
      {"table offset beyond the file",
       [](Data& b, std::size_t, std::size_t, std::size_t) {
         putBigEndian(b, b.size() - 8, std::uint64_t{1} << 40, 8);
       }},
      {"table offset zero",
       [](Data& b, std::size_t, std::size_t, std::size_t) { putBigEndian(b, b.size() - 8, 0, 8); }},
      {"object count beyond the table",
       [](Data& b, std::size_t, std::size_t, std::size_t) {
         putBigEndian(b, b.size() - 24, std::uint64_t{1} << 60, 8);
       }},
      {"top object out of range", [](Data& b, std::size_t, std::size_t,
                                     std::size_t n) { putBigEndian(b, b.size() - 16, n, 8); }},
      {"offset width 0",
       [](Data& b, std::size_t, std::size_t, std::size_t) { b[b.size() - 26] = 0; }},
      {"offset width 9",
       [](Data& b, std::size_t, std::size_t, std::size_t) { b[b.size() - 26] = 9; }},
      {"reference width 0",
       [](Data& b, std::size_t, std::size_t, std::size_t) { b[b.size() - 25] = 0; }},
      {"references to themselves",
       [](Data& b, std::size_t, std::size_t, std::size_t) {
         // The top dictionary's first key reference names the dictionary itself: a cycle.
         b[b.size() - 25] = 1;
         b[9] = 0;
       }},
      {"cut in the middle",
       [](Data& b, std::size_t, std::size_t, std::size_t) { b.resize(b.size() / 2); }},
      {"trailer only", [](Data& b, std::size_t, std::size_t,
                          std::size_t) { b.erase(b.begin() + 8, b.end() - 32); }},
  };

  struct Case {
    std::string name;
    Data bytes;
  };
  std::vector<Case> cases = {
      {"empty file", {}},
      {"text", bytesOf("IsEnabled = NO\n")},
      {"binary magic only", bytesOf("bplist00")},
      {"XML cut short", bytesOf(xmlDocument("<dict><key>pToggleIsEnabled</key><fal"))},
      {"XML whose root is an array", bytesOf(xmlDocument("<array><string>x</string></array>"))},
      {"XML nested past the limit",
       bytesOf(xmlDocument(nested("<dict><key>pOtherOrigin</key>", "</dict>",
                                  Foundation::PropertyList::kMaxNestingDepth + 1, "<dict/>")))},
      {"XML with an undefined entity",
       bytesOf(xmlDocument("<dict><key>pToggleIsEnabled&bogus;</key><true/></dict>"))},
  };
  for (const BinaryDamage& damage : damages) {
    Data bytes = realistic;
    damage.damage(bytes, tableOffset, offsetSize, objects);
    cases.push_back({std::string("binary: ") + damage.name, std::move(bytes)});
  }
  Data tooLarge = xmlOf(test_support::realisticPreferences(3));
  tooLarge.resize(Foundation::PropertyList::kMaxFileBytes + 1, ' ');
  cases.push_back({"past the size limit", std::move(tooLarge)});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Values from a good file first, so that a fallback is seen to replace them.
    readFile(realistic);
    ASSERT_EQ(manager_->blacklistedApps().size(), 200u);
    EXPECT_EQ(readFile(c.bytes), Dictionary());
    EXPECT_EQ(countContaining(log_.lines(), "prefDict"), 0u) << "no file dictionary to print";
    expectFallbacks();
    showAndWithdrawSuggestion();
  }
}

// Each known setting in turn holds a value of each kind that is not its own. The read never
// stops: the entry is converted the way NSString / NSNumber would answer, or skipped with the
// undefined-type line naming it; every other setting of the file still arrives.
TEST_F(HostilePreferencesFileTest, EveryKnownKeyWithEveryWrongKind) {
  const Dictionary realistic = test_support::realisticPreferences(5);
  const std::vector<std::pair<const char*, Value>> kinds = {
      {"boolean", Value::boolean(false)},
      {"integer", Value::integer(-7)},
      {"huge integer", Value::integer(INT64_MIN)},
      {"real", Value::real(-1e300)},
      {"real NaN", Value::real(std::numeric_limits<double>::quiet_NaN())},
      {"text", Value::string("garbage")},
      {"number text", Value::string("  12.5e1xyz")},
      {"nan text", Value::string("nan")},
      {"empty text", Value::string("")},
      {"data", Value::data({0x00, 0xFF, 0x10})},
      {"date", Value::date({-6342969600.0})},  // 1800-01-01
      {"array", Value::array({Value::integer(1), Value::dictionary({})})},
      {"dictionary", Value::dictionary({{"x", Value::string("inf")}, {"y", Value::array({})}})},
  };
  // What each setting's value may arrive as in the broadcast.
  const std::vector<std::pair<const char*, Value::Kind>> keys = {
      {"pToggleIsEnabled", Value::Kind::Boolean},
      {"pSliderDisappearInterval", Value::Kind::Real},
      {"pMultipleChoiceBlacklistedApps", Value::Kind::Array},
      {"pColorPickerFABBgColor", Value::Kind::Color},
      {"pSegmentedButtonSize", Value::Kind::Integer},
      {"pSegmentedFeedbackStyle", Value::Kind::Integer},
      {"pToggleShouldAnimateFAB", Value::Kind::Boolean},
      {"pOtherOrigin", Value::Kind::Point},
  };
  for (const auto& [key, convertedKind] : keys) {
    for (const auto& [kindName, value] : kinds) {
      SCOPED_TRACE(std::string(key) + " holding " + kindName);
      Dictionary file = realistic;
      file.set(key, value);
      const Dictionary prefs = readFile(xmlOf(file));
      // The bare name: what follows the type word.
      std::string name;
      for (const char* word :
           {"Toggle", "Segmented", "ColorPicker", "Slider", "MultipleChoice", "Other"}) {
        const std::string k(key);
        if (const auto at = k.find(word); at != std::string::npos) {
          name = k.substr(at + std::string(word).size());
          break;
        }
      }
      const Value* arrived = prefs.find(name);
      if (arrived) {
        EXPECT_EQ(arrived->kind(), convertedKind);
        EXPECT_EQ(countContaining(log_.lines(), kUndefinedLine), 0u);
      } else {
        EXPECT_EQ(countContaining(log_.lines(), std::string(kUndefinedLine) + " '" + key + "'"),
                  1u);
      }
      // Every other setting arrived.
      EXPECT_EQ(prefs.size(), realistic.size() - (arrived ? 0 : 1));
      if (name == "DisappearInterval") {
        // An interval the manager keeps must still give a timer that can fire.
        EXPECT_FALSE(std::isnan(manager_->fabDisappearInterval()));
      }
      showAndWithdrawSuggestion();
    }
  }
}

TEST_F(HostilePreferencesFileTest, DeepNestingInsideASettingIsReadUpToTheLimit) {
  const int depth = Foundation::PropertyList::kMaxNestingDepth - 2;
  // The blacklist holds one element: an array nested as deeply as a file may nest.
  const std::string body = "<dict><key>pMultipleChoiceBlacklistedApps</key><array>" +
                           nested("<array>", "</array>", depth, "<string>deep</string>") +
                           "</array><key>pToggleIsEnabled</key><false/></dict>";
  const Dictionary prefs = readFile(bytesOf(xmlDocument(body)));
  ASSERT_EQ(prefs.size(), 2u);
  ASSERT_EQ(manager_->blacklistedApps().size(), 1u);
  EXPECT_TRUE(manager_->blacklistedApps()[0].isArray());
  EXPECT_TRUE(manager_->isTweakDisabled());
  // The logger prints the nested dictionary without running out of stack.
  EXPECT_GT(countContaining(log_.lines(), "deep"), 0u);
}

TEST_F(HostilePreferencesFileTest, AVeryLargeFileIsReadWhole) {
  constexpr int kApps = 10000;
  constexpr int kUnknownKeys = 10000;
  Dictionary file = test_support::realisticPreferences(kApps);
  for (int i = 0; i < kUnknownKeys; ++i) {
    file.set("pUnknownSetting" + std::to_string(i), Value::string(std::string(40, 'x')));
  }
  const Data bytes = xmlOf(file);
  ASSERT_GT(bytes.size(), 1024u * 1024);
  const Dictionary prefs = readFile(bytes);
  EXPECT_EQ(prefs.size(), 8u);
  EXPECT_EQ(manager_->blacklistedApps().size(), static_cast<std::size_t>(kApps));
  EXPECT_EQ(countContaining(log_.lines(), kUndefinedLine), static_cast<std::size_t>(kUnknownKeys));
}

TEST_F(HostilePreferencesFileTest, OddKeysAreReadByTheirTypeWordAlone) {
  // Keys the settings pane never writes: empty, not UTF-8, outside the basic plane (UTF-16 in
  // a binary file), with control characters. A key's bytes are taken as they are.
  const std::string invalidUtf8 = "pToggle\xC3\x28\xFF";
  const std::string emoji = "\xF0\x9F\x98\x80SliderDisappearInterval";
  const Dictionary file{
      {"", Value::boolean(true)},
      {invalidUtf8, Value::boolean(false)},
      {emoji, Value::real(4.0)},
      {"pSegmented\tButton Size\n", Value::integer(3)},
  };
  struct Form {
    const char* name;
    Data bytes;
    bool keepsInvalidUtf8;
  };
  const Form forms[] = {
      {"XML", xmlOf(file), true},
      // libplist's binary writer cannot store a key that is not UTF-8: it cuts it there.
      {"binary", Foundation::PropertyList::toBinary(Value::dictionary(file)), false},
  };
  for (const Form& form : forms) {
    SCOPED_TRACE(form.name);
    const Dictionary prefs = readFile(form.bytes);
    EXPECT_EQ(countContaining(log_.lines(), std::string(kUndefinedLine) + " ''"), 1u);
    EXPECT_EQ(prefs.valueForKey(form.keepsInvalidUtf8 ? "\xC3\x28\xFF" : ""),
              Value::boolean(false));
    EXPECT_EQ(prefs.valueForKey("DisappearInterval"), Value::real(4.0));
    EXPECT_EQ(manager_->fabDisappearInterval(), 4.0);
    EXPECT_EQ(prefs.valueForKey("\tButton Size\n"), Value::integer(3));
    EXPECT_EQ(manager_->alertHelper()->FABSize(), 0) << "no \"ButtonSize\" in the file";
  }
}

// A binary file whose dictionary key is a UTF-16 string holding U+0000: the parser would stop
// the home screen with an assertion while walking the dictionary, so the file is refused.
TEST_F(HostilePreferencesFileTest, BinaryKeyWithANulCharacterIsRefused) {
  const Data bytes = {0x62, 0x70, 0x6c, 0x69, 0x73, 0x74, 0x30, 0x30, 0xd1, 0x01, 0x02, 0x63,
                      0x00, 0x61, 0x00, 0x00, 0x00, 0x62, 0x10, 0x01, 0x00, 0x08, 0x00, 0x0b,
                      0x00, 0x12, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x00,
                      0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x14};
  EXPECT_EQ(readFile(bytes), Dictionary());
  expectFallbacks();
}

}  // namespace
