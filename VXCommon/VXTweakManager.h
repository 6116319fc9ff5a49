// The coordinator of the tweak library inside the home-screen process. It hears every change
// of the classified device orientation from the motion helper, decides whether the rotation
// suggestion (the floating button) is offered, lifts the user's orientation lock when the
// suggestion is accepted, puts it back when the device returns to portrait, and withdraws an
// unanswered suggestion after fabDisappearInterval seconds.
//
// States, derived from the fields:
//   Idle        isTweakUnlockedDeviceOrientation false, no timer
//   Suggesting  false, a disappear timer pending (button shown or fading in)
//   Lifted      true, no timer (the lock was lifted by this system after a tap)
// Orientation reports (L: the user's orientation lock is on; Q: shouldQuit, never true while
// Lifted):
//   Q                      -> resetState
//   report 2, L            -> display request and startTimer (also while Lifted)
//   report 1, L            -> resetState
//   report 1, not L, Lifted -> resetTweakEffect (the lock goes back on)
//   otherwise              -> nothing
// The disappear timer's expiry resets the state (from Lifted the lock stays off); a drag start
// stops the timer, a drag end starts a full new interval.
//
// Ownership: one manager per process (sharedInstance), made when the home screen has finished
// launching and kept for the life of the process. It owns the motion helper (which holds it
// weakly as its delegate) and the alert helper; a pending timer and a displayed suggestion's
// accept callback hold it strongly. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSRunLoop.h"
#include "Foundation/Value.h"
#include "Runtime/ProcessToken.h"
#include "VXCommon/VXAlertHelper.h"
#include "VXCommon/VXMotionDelegate.h"
#include "VXCommon/VXMotionHelper.h"

class SBApplication;

class VXTweakManager : public VXMotionDelegate,
                       public std::enable_shared_from_this<VXTweakManager> {
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  // Until the first preferences broadcast arrives.
  static constexpr double kInitialDisappearIntervalSeconds = 3.0;
  // When the broadcast has no "DisappearInterval", or 0.
  static constexpr double kFallbackDisappearIntervalSeconds = 2.0;
  // The interface orientation of an upright portrait application.
  static constexpr long long kPortraitInterfaceOrientation = 1;
  // Orientation states the motion helper reports.
  static constexpr std::uint64_t kPortrait = 1;
  static constexpr std::uint64_t kLandscape = 2;

  // The process's manager, made by init() on the first call.
  static std::shared_ptr<VXTweakManager> sharedInstance();
  // A new manager: logs "VXTweakManager initialized", creates the alert helper and the motion
  // helper (sampling does not start yet), sets the initial values and observes, on the default
  // centre, "VXFab_Pan_Start", "VXFab_Pan_End" and "VXPREFSUPDATED", in that order.
  static std::shared_ptr<VXTweakManager> init();
  explicit VXTweakManager(Passkey);
  // dealloc: stops observing every notification.
  ~VXTweakManager() override;
  VXTweakManager(const VXTweakManager&) = delete;
  VXTweakManager& operator=(const VXTweakManager&) = delete;

  // Starts the motion helper's sampling.
  void run();
  void orientationChanged(std::uint64_t orientation) override;

  // Takes "IsEnabled", "DisappearInterval" and "BlacklistedApps" from the preferences
  // dictionary (the notification's object; none reads as empty), then logs. Absent entries
  // give: enabled, 2.0 s (also for 0; any other value is its single-precision value widened),
  // no blacklist. An "IsEnabled" that is neither a number nor text, or a "BlacklistedApps"
  // that is not an array, counts as absent. A suggestion on screen, a running timer and a
  // lifted lock are left as they are: the values apply from the next report or timer start.
  void preferencesUpdated(const NSNotification& notification);
  void fabButtonPanStart(const NSNotification& notification);
  void fabButtonPanEnd(const NSNotification& notification);

  // Schedules the one-shot disappear timer (fabDisappearInterval seconds, firing tick). A
  // timer still pending is stopped first, so an orphaned one can never withdraw a later
  // suggestion early.
  void startTimer();
  // Stops and drops the pending timer, if any.
  void endTimer();
  void restartTimer();
  void tick(NSTimer& timer);
  // endTimer, dismiss the button, clear isTweakUnlockedDeviceOrientation. The lock is untouched.
  void resetState();
  // resetState, then the orientation lock goes back on.
  void resetTweakEffect();

  // True when no suggestion may be offered now: never while the lock is lifted by this system;
  // otherwise when the system is off, no application is in front, the device is locked, the
  // front application is not in upright portrait (these log "quiting state: ..."), or the
  // application is portrait-only or blacklisted.
  bool shouldQuit();
  // True when `application`'s bundle declares exactly one supported interface orientation;
  // always false on a tablet, and false when the bundle or the declaration is missing.
  bool isAppSupportOnlyPortrait(const SBApplication& application);

  // ---- properties ----------------------------------------------------------------------------
  const std::shared_ptr<VXAlertHelper>& alertHelper() const { return alertHelper_; }
  void setAlertHelper(std::shared_ptr<VXAlertHelper> helper) { alertHelper_ = std::move(helper); }
  const std::shared_ptr<VXMotionHelper>& motionHelper() const { return motionHelper_; }
  void setMotionHelper(std::shared_ptr<VXMotionHelper> helper) {
    motionHelper_ = std::move(helper);
  }
  const std::shared_ptr<NSTimer>& timer() const { return timer_; }
  void setTimer(std::shared_ptr<NSTimer> timer) { timer_ = std::move(timer); }
  bool isTweakUnlockedDeviceOrientation() const { return isTweakUnlockedDeviceOrientation_; }
  void setIsTweakUnlockedDeviceOrientation(bool unlocked) {
    isTweakUnlockedDeviceOrientation_ = unlocked;
  }
  bool isTweakDisabled() const { return isTweakDisabled_; }
  void setIsTweakDisabled(bool disabled) { isTweakDisabled_ = disabled; }
  // Seconds.
  double fabDisappearInterval() const { return fabDisappearInterval_; }
  void setFabDisappearInterval(double seconds) { fabDisappearInterval_ = seconds; }
  // Bundle identifiers; an element equal to the front application's identifier blocks it.
  const Foundation::Array& blacklistedApps() const { return blacklistedApps_; }
  void setBlacklistedApps(Foundation::Array apps) { blacklistedApps_ = std::move(apps); }

 private:
  std::shared_ptr<VXAlertHelper> alertHelper_;
  std::shared_ptr<VXMotionHelper> motionHelper_;
  std::shared_ptr<NSTimer> timer_;
  bool isTweakUnlockedDeviceOrientation_ = false;
  bool isTweakDisabled_ = false;
  double fabDisappearInterval_ = kInitialDisappearIntervalSeconds;
  Foundation::Array blacklistedApps_;
  // The process whose notification centre the manager observes.
  gw::ProcessToken process_;
};
