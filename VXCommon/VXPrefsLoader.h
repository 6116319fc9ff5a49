// The preference store of the tweak library and the reading of the preferences file.
//
// The settings pane writes "/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist" and
// posts the system-wide "com.zel.gyrowhirl.settingschanged"; the library reads the file once
// when it is loaded (the start-up initialiser of order 3) and again on every such post. Each
// read turns every entry into a typed value under its bare name and broadcasts the result, the
// preferences dictionary, on the process's default centre as "VXPREFSUPDATED". The first
// broadcast of a process waits 2 s on the main queue (the consumers only exist once the home
// screen has finished launching); every later one is posted at once.
//
// Keys have the form p + type word + bare name. The type words are tested in this order, each
// a case-sensitive substring search, and the first one found decides, wherever it stands:
//   "Toggle"         -> boolean                (a number is true when non-zero)
//   "Segmented"      -> 32-bit integer         (reals truncate toward zero)
//   "ColorPicker"    -> colour                 (colorFromString)
//   "Slider"         -> single-precision real, widened to double
//   "MultipleChoice" -> array                  (same elements, same order)
//   "Other"          -> point                  (x and y narrowed to single precision, widened)
// The bare name is what follows the deciding word's first occurrence; a later key with the
// same bare name replaces an earlier one.
//
// Values of the wrong kind never stop a read. What can be converted is converted, the way the
// device's NSString / NSNumber would answer: text gives its leading number for "Segmented" and
// "Slider" and NSString boolValue for "Toggle"; a number or boolean is taken as it is by all
// three. An "Other" dictionary reads each coordinate as a number or leading-number text, and a
// coordinate that is missing or of any other kind is 0. Everything else (a colour that is not
// text, a list that is not an array, a point that is not a dictionary, data, dates, containers
// where a scalar is expected) is skipped with the undefined-type log line.
//
// The store also saves the button's position when a drag ends ("VXFab_Pan_End"): it writes
// "pOtherOrigin" {x, y} into the file, keeping every other entry, under the cross-process file
// coordination that the settings pane takes too, so neither side's change is lost. A missing
// file is created holding just that entry. The save runs on the home screen's main thread, so
// it waits for the coordination at most kSaveLockWait; past that it logs and writes without
// it. The write is still atomic (no reader ever sees a partial file); what can be lost is a
// change the stalled writer makes in the meantime, which beats a frozen home screen.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "CoreFoundation/CFNotificationCenter.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/Value.h"
#include "UIKit/UIColor.h"

class VXPrefsLoader : public std::enable_shared_from_this<VXPrefsLoader> {
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  static constexpr const char* kPrefsPath =
      "/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist";
  static constexpr const char* kSettingsChangedNotification = "com.zel.gyrowhirl.settingschanged";
  static constexpr const char* kPrefsUpdatedNotification = "VXPREFSUPDATED";
  static constexpr const char* kPanEndNotification = "VXFab_Pan_End";
  static constexpr const char* kOriginKey = "pOtherOrigin";
  // The first broadcast of a process follows its read by this much (dispatch_after).
  static constexpr std::int64_t kFirstPostDelayNanoseconds = 2000000000;
  // The longest a drag-end save waits for another writer's hold on the file, in real time. A
  // healthy holder (the settings pane's one read-modify-write) keeps it for milliseconds, so
  // this outlasts it by far; a holder that keeps it longer has stalled, and waiting on would
  // freeze the home screen's main thread, which the system's watchdog ends after a few
  // seconds. A quarter second is a hitch at worst, well clear of that.
  static constexpr std::chrono::milliseconds kSaveLockWait{250};

  // The process's store, made on first use (logging "VXPrefsLoader initialized"); it lives as
  // long as the process.
  static std::shared_ptr<VXPrefsLoader> sharedInstance();

  explicit VXPrefsLoader(Passkey) {}
  // dealloc: removes every registration of the store from the default centre.
  ~VXPrefsLoader();
  VXPrefsLoader(const VXPrefsLoader&) = delete;
  VXPrefsLoader& operator=(const VXPrefsLoader&) = delete;

  // Observes "VXFab_Pan_End" with savePrefs. Every read calls it; only the first call of a
  // store registers, so one drag end saves once however often the file has been read.
  void addSaveListener();
  // Writes the point in `notification`'s object into the file under "pOtherOrigin", logging
  // "prefs saved..." and the written dictionary, or "DIDNT save prefs!!" when nothing was
  // saved: no point in the notification, a file that exists but holds no readable
  // dictionary (it is left alone rather than replaced), no lock file, or a failed write. A
  // save that gave up waiting for the lock logs so before either line.
  void savePrefs(const NSNotification& notification);

 private:
  bool saveListenerAdded_ = false;
};

// One full read of the preferences file and its broadcast. Runs on the main thread (or, for
// the first read, on the thread that loads the library).
void readPrefs();
// The same read as the callback of the system-wide notification; all arguments are ignored.
void readPrefs(CFNotificationCenterRef center, void* observer, const std::string& name,
               const void* object, CFDictionaryRef userInfo);

// The colour of a "ColorPicker" text: "<mark><hex rgb>:<alpha>". The text is split at every
// ":"; with exactly two parts, the first part's bits after its first character are read like
// NSScanner scanHexInt (leading white space, optional 0x/0X, up to the first non-hex
// character, saturating at 0xFFFFFFFF, 0 with no digit) and bits 16-23, 8-15, 0-7 give red,
// green, blue over 255.0; alpha is the second part's leading decimal number in single
// precision (0 with none). Any other number of parts logs "bg color parsing error, using
// default" and gives white at single-precision alpha 0.3.
UIColor colorFromString(std::string_view text);
