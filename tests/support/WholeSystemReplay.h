// The whole tweak on a simulated phone for a day: the tweak library loaded into the home-screen
// process as the device loads it, the home screen's launch completed (which starts the tweak
// manager and its sampling), then a SyntheticDayTrace played sample by sample on the virtual
// clock while a person uses the phone:
//   - each sample sets the device's physical attitude (MotionHardware) at its time;
//   - the device is locked through the trace's night;
//   - the front application changes every half hour, through apps that may rotate, one that
//     only supports portrait, one on the blacklist, and the home screen;
//   - each floating button that appears is tapped, after a reaction time, with a given
//     probability (touches go through UITouchInput, as a finger's do); the others run out.
// What the person sees is counted from the device's events ("view", "lock", "haptic").
//
//   WholeSystemReplay replay({});
//   replay.boot();
//   SyntheticDayTrace trace({});
//   replay.play(trace);
//   replay.settle();
//   replay.counts().suggestionsShown ...
//
// The device lives in a fresh temporary folder, removed afterwards. Everything runs on the
// calling thread.
#pragma once

#include <stdlib.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "CoreMotion/MotionHardware.h"
#include "Device/Device.h"
#include "Device/DeviceEvent.h"
#include "Device/Process.h"
#include "Device/TemporaryFolder.h"
#include "Foundation/NSFileManager.h"
#include "SpringBoard/HomeScreenState.h"
#include "SpringBoard/SimulatedSpringBoard.h"
#include "UIKit/UITouchInput.h"
#include "support/RealisticPreferences.h"
#include "support/SyntheticDayTrace.h"
#include "tweak/OverlayTestSupport.h"

class WholeSystemReplay {
 public:
  static constexpr const char* kHomeScreenProcess = "SpringBoard";
  static constexpr const char* kPersonProcess = "person";
  static constexpr const char* kLibrary = "Gyrowhirl";
  static constexpr const char* kPrefsPath =
      "/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist";

  struct Options {
    double acceptProbability = 0.5;
    // A tap before the 0.2 s fade-in has finished would pass through the button.
    double minReactionSeconds = 0.4;
    double maxReactionSeconds = 1.6;
    double appSwitchIntervalSeconds = 1800.0;
    std::uint64_t seed = 7;
    int blacklistCount = 200;
  };

  struct Counts {
    std::uint64_t samples = 0;
    std::uint64_t suggestionsShown = 0;  // buttons added to the screen
    std::uint64_t buttonsRemoved = 0;
    std::uint64_t taps = 0;          // taps the person aimed at a button
    std::uint64_t acceptedTaps = 0;  // of those, the ones the button took
    std::uint64_t lockLiftedByTweak = 0;
    std::uint64_t lockRestoredByTweak = 0;
    std::uint64_t hapticImpacts = 0;
    // Buttons that appeared while the device was locked, on the home screen, or in front of an
    // app that only supports portrait or is on the blacklist.
    std::uint64_t suggestionsWhereNoneBelongs = 0;
  };

  explicit WholeSystemReplay(Options options)
      : options_(options), random_(options.seed | 1), root_("gyrowhirl-replay-") {
    if (!root_.valid()) std::abort();
    device_ = Device::create(root_.path());
    person_ = device_->launch(kPersonProcess);
    ProcessScope scope(*person_);
    HomeScreenState& home = HomeScreenState::of(*device_);
    for (const auto& app : kApps) home.installApplication(app.bundleId, app.orientationCount);
    NSDictionary::writeToFile(test_support::realisticPreferences(options_.blacklistCount),
                              kPrefsPath, true);
    overlay_test::writeDeviceFile(*device_, overlay_test::kLockImagePath,
                                  overlay_test::tinyRedPng());
    home.setFrontApplication(kApps[0].bundleId, 1);
    home.setOrientationLocked(true, OrientationLockActor::User);
    subscription_ = device_->subscribe([this](const DeviceEvent& event) { observe(event); });
  }

  ~WholeSystemReplay() {
    device_->unsubscribe(subscription_);
    // The processes end while the device still exists, so their state is torn down with a
    // device to talk to.
    device_->terminate(kHomeScreenProcess);
    person_.reset();
    device_->terminate(kPersonProcess);
    device_.reset();
  }
  WholeSystemReplay(const WholeSystemReplay&) = delete;
  WholeSystemReplay& operator=(const WholeSystemReplay&) = delete;

  // Launches the home-screen process, loads the tweak library into it (its start-up
  // initialisers run, the first preferences read among them) and completes the launch.
  // False when the library could not be loaded.
  bool boot() {
    homeScreen_ = device_->launch(kHomeScreenProcess);
    ProcessScope scope(*homeScreen_);
    if (!homeScreen_->loadLibrary(kLibrary)) return false;
    return SimulatedSpringBoard::finishLaunching();
  }

  // Plays `trace` to its end.
  void play(SyntheticDayTrace& trace) { play(trace, trace.options()); }
  // Plays the samples of `source` (anything with `bool next(AttitudeSample&)`) to its end, with
  // the night and the app changes of the day `day` describes.
  template <typename Source>
  void play(Source& source, const SyntheticDayTrace::Options& day) {
    ProcessScope scope(*person_);
    MotionHardware& motion = MotionHardware::of(*device_);
    HomeScreenState& home = HomeScreenState::of(*device_);
    AttitudeSample sample;
    bool night = false;
    double nextAppSwitch = options_.appSwitchIntervalSeconds;
    std::size_t appIndex = 0;
    while (source.next(sample)) {
      device_->runUntil(sample.timeSeconds);
      const bool isNight =
          sample.timeSeconds >= day.nightStartSeconds && sample.timeSeconds < day.nightEndSeconds;
      if (isNight != night) {
        night = !night;
        home.setDeviceLocked(night);
      }
      if (sample.timeSeconds >= nextAppSwitch) {
        nextAppSwitch += options_.appSwitchIntervalSeconds;
        appIndex = (appIndex + 1) % (kApps.size() + 1);
        if (appIndex == kApps.size()) {
          home.showHomeScreen();
        } else {
          home.setFrontApplication(kApps[appIndex].bundleId, 1);
        }
      }
      motion.setAttitude(sample.rollRadians, sample.pitchRadians);
      ++counts_.samples;
    }
  }

  // The person holds the phone upright again, in an app that rotates, and the device runs
  // on for `seconds`: whatever the tweak lifted is put back.
  void settle(double seconds = 5.0) {
    ProcessScope scope(*person_);
    HomeScreenState& home = HomeScreenState::of(*device_);
    home.setDeviceLocked(false);
    home.setFrontApplication(kApps[0].bundleId, 1);
    MotionHardware::of(*device_).setAttitude(0.0, 1.1);
    device_->runFor(seconds);
  }

  const Counts& counts() const { return counts_; }
  Device& device() { return *device_; }
  Process& homeScreen() { return *homeScreen_; }
  Process& person() { return *person_; }
  // True while a floating button is on the screen.
  bool buttonOnScreen() const { return counts_.suggestionsShown > counts_.buttonsRemoved; }

 private:
  struct App {
    const char* bundleId;
    int orientationCount;
  };
  static constexpr std::array<App, 5> kApps = {{
      {"com.example.reader", 4},
      {"com.example.video", 4},
      {"com.example.portraitonly", 1},
      {"com.example.maps", 0},
      {test_support::kBlockedBundleId, 4},
  }};

  void observe(const DeviceEvent& event) {
    if (event.name == "view") {
      const EventValue* className = event.fields.find("class");
      const EventValue* op = event.fields.find("op");
      if (!className || !op || !className->stringValue() || !op->stringValue() ||
          *className->stringValue() != "VXFab") {
        return;
      }
      if (*op->stringValue() == "removed") {
        ++counts_.buttonsRemoved;
        return;
      }
      ++counts_.suggestionsShown;
      if (!suggestionBelongs()) ++counts_.suggestionsWhereNoneBelongs;
      if (uniform() >= options_.acceptProbability) return;
      const CGPoint centre = CGPointMake(
          event.fields.value("x").doubleValue() + event.fields.value("w").doubleValue() / 2,
          event.fields.value("y").doubleValue() + event.fields.value("h").doubleValue() / 2);
      const double reaction =
          options_.minReactionSeconds +
          (options_.maxReactionSeconds - options_.minReactionSeconds) * uniform();
      device_->schedule(*person_, device_->now() + reaction, [this, centre] {
        ++counts_.taps;
        UITouchInput input(*device_);
        if (!input.tap(centre).passedThrough()) ++counts_.acceptedTaps;
      });
    } else if (event.name == "lock") {
      const EventValue* by = event.fields.find("by");
      if (!by || !by->stringValue() || *by->stringValue() != "tweak") return;
      if (event.fields.value("on").boolValue()) {
        ++counts_.lockRestoredByTweak;
      } else {
        ++counts_.lockLiftedByTweak;
      }
    } else if (event.name == "haptic") {
      ++counts_.hapticImpacts;
    }
  }

  bool suggestionBelongs() const {
    const HomeScreenState& home = HomeScreenState::of(*device_);
    const std::shared_ptr<SBApplication> front = home.frontApplication();
    if (home.isDeviceLocked() || !front) return false;
    const std::string& id = front->bundleIdentifier();
    return id != test_support::kBlockedBundleId && id != "com.example.portraitonly";
  }

  double uniform() {
    random_ ^= random_ >> 12;
    random_ ^= random_ << 25;
    random_ ^= random_ >> 27;
    return static_cast<double>((random_ * 0x2545F4914F6CDD1DULL) >> 11) * 0x1.0p-53;
  }

  Options options_;
  std::uint64_t random_;
  TemporaryFolder root_;  // outlives the device
  std::shared_ptr<Device> device_;
  std::shared_ptr<Process> person_;
  std::shared_ptr<Process> homeScreen_;
  int subscription_ = 0;
  Counts counts_;
};
