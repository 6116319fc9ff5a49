// The alert helper.
#include "VXCommon/VXAlertHelper.h"

#include <string_view>

#include "Foundation/Value.h"
#include "Runtime/ProcessToken.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIControl.h"
#include "UIKit/UIImpactFeedbackGenerator.h"
#include "UIKit/UIView.h"
#include "VXCommon/VXFab.h"
#include "VXCommon/VXLogger.h"
#include "VXCommon/VXPassthroughWindow.h"

namespace {

constexpr const char* kPrefsUpdatedNotification = "VXPREFSUPDATED";

}  // namespace

// The log line comes first, before the helper exists; the observer is registered once the
// helper is owned, so that it can hold the helper weakly, on the centre of the process that
// makes the helper.
std::shared_ptr<VXAlertHelper> VXAlertHelper::init() {
  VX_LOG(27, "-[VXAlertHelper init]", "VXAlertHelper initializied");
  auto helper = std::make_shared<VXAlertHelper>(Passkey());
  helper->process_ = gw::ProcessToken::current();
  std::weak_ptr<VXAlertHelper> weakHelper = helper;
  NSNotificationCenter::defaultCenter().addObserver(
      helper.get(),
      [weakHelper](const NSNotification& notification) {
        if (auto self = weakHelper.lock()) self->preferencesUpdated(notification);
      },
      kPrefsUpdatedNotification);
  return helper;
}

VXAlertHelper::VXAlertHelper(Passkey) {}

void VXAlertHelper::preferencesUpdated(const NSNotification& notification) {
  const Foundation::Dictionary* prefs = notification.object.dictionaryValue();
  const auto entry = [prefs](std::string_view key) {
    return prefs ? prefs->valueForKey(key) : Foundation::Value();
  };
  // An entry of the wrong kind counts as absent for the colour and the position.
  FABColor_ = entry("FABBgColor").colorValue().value_or(UIColor::whiteColor());
  FABSize_ = entry("ButtonSize").intValue();
  FABOrigin_ = entry("Origin").pointValue().value_or(CGPointZero);
  feedbackStyle_ = getFeedbackStyle(entry("FeedbackStyle").intValue());
  const Foundation::Value animate = entry("ShouldAnimateFAB");
  shouldAnimateFAB_ = animate.isNull() ? true : animate.boolValue();
  // The button on screen, if any, keeps its look: these values reach the next button made.
  VX_LOG(56, "-[VXAlertHelper preferencesUpdated:]", "VXAlertHelper prefs updated");
}

// Teardown runs inside the process the helper observes, so that the button's last log line
// and the removal reach that process's logger and centre wherever the last owner lets go.
VXAlertHelper::~VXAlertHelper() {
  const bool inProcess = process_.runInside([this] {
    block_ = nullptr;
    window_.reset();
    FAB_.reset();
    NSNotificationCenter::defaultCenter().removeObserver(this);
  });
  if (inProcess) return;
  block_ = nullptr;
  window_.reset();
  FAB_.reset();
}

void VXAlertHelper::displayAlertWithBlock(Block callback) {
  if (isDisplayingAlert_) return;  // one suggestion at a time; this one is lost
  ++suggestionCount_;
  block_ = std::move(callback);
  if (!FAB_) {
    FAB_ = VXFab::initializeFabWithColor(FABColor_, FABSize_, FABOrigin_, shouldAnimateFAB_);
    FAB_->setAlpha(0);
    if (auto self = weak_from_this().lock()) {
      FAB_->addTarget(self, &VXAlertHelper::buttonTap, UIControlEventTouchUpInside);
    }
  }
  if (!window_) window_ = VXPassthroughWindow::initializeWindow();
  window_->addSubview(FAB_);
  fadeInFAB();
  isDisplayingAlert_ = true;
}

void VXAlertHelper::dismissAlert() {
  fadeOutFAB();
}

// The haptic plays as the fade starts, not when it ends. The fade is started without the
// option that allows user interaction: the button takes no touches while it fades in.
void VXAlertHelper::fadeInFAB() {
  if (FAB_) FAB_->setAlpha(0);
  UIView::animateWithDuration(
      kFadeDurationSeconds, 0, UIViewAnimationOptionCurveEaseIn,
      [this] {
        if (FAB_) FAB_->setAlpha(1.0);
        UIImpactFeedbackGenerator::initWithStyle(feedbackStyle_)->impactOccurred();
      },
      {});
}

void VXAlertHelper::fadeOutFAB() {
  std::weak_ptr<VXAlertHelper> weakSelf = weak_from_this();
  const std::uint64_t suggestion = suggestionCount_;
  UIView::animateWithDuration(
      kFadeDurationSeconds, 0, UIViewAnimationOptionCurveEaseInOut,
      [this] {
        if (FAB_) FAB_->setAlpha(0.0);
      },
      [weakSelf, suggestion](bool /*finished*/) {
        auto self = weakSelf.lock();
        if (self && self->suggestionCount_ == suggestion) self->resetState();
      });
}

void VXAlertHelper::buttonTap(UIControl& /*sender*/) {
  if (block_) {
    // Run a copy: the callback may reach resetState, which drops the stored one.
    const Block callback = block_;
    callback();
  }
  fadeOutFAB();
}

void VXAlertHelper::resetState() {
  block_ = nullptr;
  if (FAB_) FAB_->removeFromSuperview();
  FAB_.reset();
  window_.reset();  // the last reference: the overlay leaves the screen
  isDisplayingAlert_ = false;
}

std::int64_t VXAlertHelper::getFeedbackStyle(std::int32_t preference) {
  switch (preference) {
    case 2:
      return UIImpactFeedbackStyleMedium;
    case 3:
      return UIImpactFeedbackStyleHeavy;
    default:
      return UIImpactFeedbackStyleLight;
  }
}
