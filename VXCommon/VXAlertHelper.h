// Puts one suggestion on screen at a time and takes it down again: the overlay window, the
// floating button faded in with a haptic tap, and the caller's accept callback, run when the
// button is tapped before the button fades out. It also keeps the button's appearance
// settings, taken from each "VXPREFSUPDATED" broadcast and handed to the next button made.
//
// States: idle (isDisplayingAlert false, no button, no callback); showing (true, button fading
// in or visible); fading out (true, button and callback still set) until the fade-out's
// completion resets the helper 0.2 s later. While the flag is true, a new suggestion is ignored
// and its callback dropped.
//
// Ownership: made by init() and held by its creator (the tweak manager) through
// std::shared_ptr. It owns the window, the button and the callback of the suggestion on screen;
// the button's tap action, the animation completions and the notification observer hold the
// helper weakly. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSNotificationCenter.h"
#include "Runtime/ProcessToken.h"
#include "UIKit/UIColor.h"

class UIControl;
class VXFab;
class VXPassthroughWindow;

class VXAlertHelper : public std::enable_shared_from_this<VXAlertHelper> {
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  // The accept callback: no arguments, no result.
  using Block = std::function<void()>;

  // Both fades last the single-precision 0.2 widened to double: 0.20000000298023224 s.
  static constexpr double kFadeDurationSeconds = static_cast<double>(0.2f);
  // The scale type and colour before the first preferences broadcast: 75 points, white at 0.3.
  static constexpr std::int32_t kInitialFABSize = 2;
  static constexpr double kInitialFABAlpha = 0.3;

  // Logs "VXAlertHelper initializied", sets the initial values and observes "VXPREFSUPDATED"
  // on the current process's default notification centre until the helper is destroyed.
  static std::shared_ptr<VXAlertHelper> init();
  explicit VXAlertHelper(Passkey);
  // dealloc: drops the callback, the window and the button, and stops observing.
  ~VXAlertHelper();
  VXAlertHelper(const VXAlertHelper&) = delete;
  VXAlertHelper& operator=(const VXAlertHelper&) = delete;

  // Copies five settings from the preferences dictionary (the notification's object; a missing
  // dictionary reads as empty), each absent entry taking its fallback: "FABBgColor" (opaque
  // white), "ButtonSize" (0), "Origin" ((0, 0)), "FeedbackStyle" (light) and
  // "ShouldAnimateFAB" (true); then logs "VXAlertHelper prefs updated". A button on screen
  // keeps its look.
  void preferencesUpdated(const NSNotification& notification);
  // Puts a suggestion up with `callback`: makes the button (at alpha 0, tap wired to
  // buttonTap) and the overlay window when missing, adds the button to the window, fades it
  // in. Does nothing, dropping `callback`, while isDisplayingAlert is true.
  void displayAlertWithBlock(Block callback);
  // Fades the button out (and so ends in resetState), in any state.
  void dismissAlert();
  // Alpha 0, then an animated alpha 1 (ease-in, 0.2 s) with one haptic impact of
  // feedbackStyle as the fade starts.
  void fadeInFAB();
  // An animated alpha 0 (0.2 s) whose completion calls resetState, finished or not. A
  // completion is dropped when a newer suggestion has been put up since this fade began, so
  // that a stale fade-out never tears down the suggestion after it.
  void fadeOutFAB();
  // The button's touch-up-inside action: runs the callback if one is stored (it stays stored),
  // then fades out. The sender is not used.
  void buttonTap(UIControl& sender);
  // Drops the callback, takes the button off the window and drops it, drops the window, and
  // clears isDisplayingAlert, in that order. Safe in any state, any number of times.
  void resetState();
  // The "FeedbackStyle" preference as a UIImpactFeedbackStyle: 2 gives 1 (medium), 3 gives 2
  // (heavy), anything else 0 (light).
  static std::int64_t getFeedbackStyle(std::int32_t preference);

  // ---- properties ----------------------------------------------------------------------------
  bool isDisplayingAlert() const { return isDisplayingAlert_; }
  void setIsDisplayingAlert(bool displaying) { isDisplayingAlert_ = displaying; }
  const std::shared_ptr<VXPassthroughWindow>& window() const { return window_; }
  void setWindow(std::shared_ptr<VXPassthroughWindow> window) { window_ = std::move(window); }
  const Block& block() const { return block_; }
  void setBlock(Block block) { block_ = std::move(block); }
  const std::shared_ptr<VXFab>& FAB() const { return FAB_; }
  void setFAB(std::shared_ptr<VXFab> fab) { FAB_ = std::move(fab); }
  // The button's scale type (VXFab::sizeForScaleType).
  std::int32_t FABSize() const { return FABSize_; }
  void setFABSize(std::int32_t size) { FABSize_ = size; }
  const UIColor& FABColor() const { return FABColor_; }
  void setFABColor(const UIColor& color) { FABColor_ = color; }
  // The stored top-left corner in screen points; (0, 0) means none is stored.
  CGPoint FABOrigin() const { return FABOrigin_; }
  void setFABOrigin(CGPoint origin) { FABOrigin_ = origin; }
  // A UIImpactFeedbackStyle value: 0 light, 1 medium, 2 heavy.
  std::int64_t feedbackStyle() const { return feedbackStyle_; }
  void setFeedbackStyle(std::int64_t style) { feedbackStyle_ = style; }
  bool shouldAnimateFAB() const { return shouldAnimateFAB_; }
  void setShouldAnimateFAB(bool animate) { shouldAnimateFAB_ = animate; }

 private:
  bool isDisplayingAlert_ = false;
  std::shared_ptr<VXPassthroughWindow> window_;
  Block block_;
  std::shared_ptr<VXFab> FAB_;
  std::int32_t FABSize_ = kInitialFABSize;
  UIColor FABColor_ = UIColor::colorWithRed(1.0, 1.0, 1.0, kInitialFABAlpha);
  CGPoint FABOrigin_{0, 0};
  std::int64_t feedbackStyle_ = 0;
  bool shouldAnimateFAB_ = true;
  // Counts the suggestions put up; a fade-out completes only for the suggestion it began in.
  std::uint64_t suggestionCount_ = 0;
  // The process whose notification centre the helper observes.
  gw::ProcessToken process_;
};
