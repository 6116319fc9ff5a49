#include "gyrowhirlprefs/VXPRootListController.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

#include "CoreFoundation/CFNotificationCenter.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSRunLoop.h"
#include "Foundation/NSURL.h"
#include "Runtime/ProcessStatic.h"
#include "System/spawn.h"
#include "UIKit/UIAlertController.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UITableView.h"
#include "gyrowhirlprefs/KillallProgram.h"

namespace {

constexpr const char* kLibraryName = "gyrowhirlprefs";
constexpr const char* kSpecifierListName = "Root";
constexpr const char* kNestedEntryCountKey = "nestedEntryCount";

constexpr const char* kProductName = "Gyrowhirl";
constexpr const char* kUpperLabelFontName = "HelveticaNeue-UltraLight";
constexpr double kUpperLabelFontSizePoints = 35;
constexpr const char* kUnderLabelFontName = "HelveticaNeue-Light";
constexpr double kUnderLabelFontSizePoints = 14;
// The leading empty line keeps the subtitle below the product name: the two labels overlap.
constexpr const char* kUnderLabelText =
    "\nSmart Screen Rotation Suggestions\n\nMade with care by Zel";
constexpr int kUnderLabelLineCount = 4;

constexpr const char* kConfirmationTitle = "Confirmation";
constexpr const char* kConfirmationMessage =
    "This will restore Gyrowhirl Settings to default\nAre you sure?";
constexpr const char* kNoticeTitle = "Notice";
constexpr const char* kNoticeMessage = "Settings restored to default\nPlease respring your device";
constexpr const char* kFailureTitle = "Error";
constexpr const char* kFailureMessage =
    "Settings could not be restored to default\nThe preferences file could not be deleted";

// "/var/mobile/Library/Preferences/<domain>.plist"; empty for a domain that names no file
// there (empty, or reaching into another folder).
std::string preferencesPath(const std::string& domain) {
  if (domain.empty() || domain.find('/') != std::string::npos) return {};
  return std::string(VXPRootListController::kPreferencesFolder) + "/" + domain + ".plist";
}

double screenWidthPoints() {
  return UIScreen::mainScreen().bounds().size.width;
}

void registerControllerClass() {
  PSListController::registerControllerClass<VXPRootListController>(
      VXPRootListController::kClassName);
}

}  // namespace

// The Settings process learns the bundle's classes when it loads the bundle.
GW_LIBRARY_INITIALISER(kLibraryName, 0, registerControllerClass);

VXPRootListController::VXPRootListController() {
  // The action table belongs to this controller, so the actions may hold it unowned.
  registerAction("defaultsettings:", [this](const std::shared_ptr<PSSpecifier>& specifier) {
    defaultsettings(specifier);
  });
  registerAction("donationLink", [this](const std::shared_ptr<PSSpecifier>&) { donationLink(); });
}

VXPRootListController::~VXPRootListController() = default;

// ---- the framework's operations -----------------------------------------------------------

const PSListController::SpecifierList& VXPRootListController::specifiers() {
  if (_specifiers.empty()) {
    auto self = std::static_pointer_cast<PSListController>(weak_from_this().lock());
    _specifiers = loadSpecifiersFromPlistName(kSpecifierListName, self);
    applyModificationsToSpecifiers(_specifiers);
  }
  return _specifiers;
}

void VXPRootListController::loadView() {
  PSListController::loadView();
  headerCell();
}

Foundation::Value VXPRootListController::readPreferenceValue(
    const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return {};
  const std::string key = specifier->stringProperty("key");
  const std::string path = preferencesPath(specifier->stringProperty("defaults"));
  Foundation::Dictionary entries;
  if (!path.empty()) {
    if (auto file = NSDictionary::dictionaryWithContentsOfFile(path)) entries = std::move(*file);
  }
  if (const Foundation::Value* value = key.empty() ? nullptr : entries.find(key)) return *value;
  return specifier->propertyForKey("default");
}

void VXPRootListController::setPreferenceValue(const Foundation::Value& value,
                                               const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return;
  const std::string key = specifier->stringProperty("key");
  const std::string path = preferencesPath(specifier->stringProperty("defaults"));
  bool written = false;
  if (!key.empty() && !path.empty()) {
    // Coordinated with the home screen's own read-modify-write of the same file (the saved
    // button position), so that neither writer loses the other's change.
    // A file that is there but cannot be read is left alone: writing back just this entry
    // would wipe every other setting.
    NSFileCoordinator::coordinateWritingItemAtPath(path, [&] {
      std::optional<Foundation::Dictionary> entries =
          NSDictionary::readForRewrite(path).baseForRewrite();
      if (!entries) return;
      entries->set(key, value);
      written = NSDictionary::writeToFile(*entries, path, /*atomically=*/true);
    });
  }
  if (!written) {
    // Not shown as done: the tweak is not told, the groups stay, and the row shows again
    // what the file holds.
    NSLog("<VXTweak> could not save '%s' to '%s'", key.c_str(), path.c_str());
    reloadSpecifier(specifier, /*animated=*/true);
    return;
  }
  const std::string notification = specifier->stringProperty("PostNotification");
  if (!notification.empty()) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), notification,
                                         nullptr, nullptr, /*deliverImmediately=*/true);
  }
  if (specifier->cellType() == PSSwitchCell) removeNestedGroups(specifier, value);
}

// ---- header ---------------------------------------------------------------------------------

void VXPRootListController::headerCell() {
  auto header = UIView::initWithFrame(CGRectMake(0, 0, 0, kHeaderHeightPoints));
  createUpperLabel();
  createUnderLabel();
  // Taller than the header view: the banner reaches 10 points below it.
  auto banner =
      UIImageView::initWithFrame(CGRectMake(0, 0, screenWidthPoints(), kBannerHeightPoints));
  banner->setImage(UIImage::imageNamed(std::string(kBannerFolder) + "/" + kBannerName + ".png"));
  header->addSubview(banner);
  header->addSubview(label_);
  header->addSubview(underLabel_);
  if (table()) table()->setTableHeaderView(header);

  // The timer holds the controller until it has fired.
  auto self = std::static_pointer_cast<VXPRootListController>(weak_from_this().lock());
  if (!self) return;
  NSTimer::scheduledTimerWithTimeInterval(
      kFadeInDelaySeconds, [self](NSTimer&) { self->increaseAlpha(); }, Foundation::Value(),
      /*repeats=*/false);
}

void VXPRootListController::createUpperLabel() {
  label_ = UILabel::initWithFrame(CGRectMake(0, 20, screenWidthPoints(), 60));
  label_->setNumberOfLines(1);
  label_->setFont(UIFont::fontWithName(kUpperLabelFontName, kUpperLabelFontSizePoints));
  label_->setText(kProductName);
  label_->setBackgroundColor(UIColor::clearColor());
  label_->setTextColor(UIColor::whiteColor());
  label_->setTextAlignment(NSTextAlignmentCenter);
  label_->setAlpha(0.0);
}

void VXPRootListController::createUnderLabel() {
  underLabel_ = UILabel::initWithFrame(CGRectMake(0, 55, screenWidthPoints(), 60));
  underLabel_->setNumberOfLines(kUnderLabelLineCount);
  underLabel_->setFont(UIFont::fontWithName(kUnderLabelFontName, kUnderLabelFontSizePoints));
  underLabel_->setText(kUnderLabelText);
  underLabel_->setBackgroundColor(UIColor::clearColor());
  underLabel_->setTextColor(UIColor::whiteColor());
  underLabel_->setTextAlignment(NSTextAlignmentCenter);
  underLabel_->setAlpha(0.0);
}

void VXPRootListController::increaseAlpha() {
  std::shared_ptr<UILabel> upper = label_;
  std::shared_ptr<UILabel> under = underLabel_;
  UIView::animateWithDuration(
      kFadeDurationSeconds,
      [upper] {
        if (upper) upper->setAlpha(1.0);
      },
      [under](bool /*finished*/) {
        UIView::animateWithDuration(kFadeDurationSeconds, [under] {
          if (under) under->setAlpha(1.0);
        });
      });
}

// ---- dependent groups -------------------------------------------------------------------------

void VXPRootListController::applyModificationsToSpecifiers(SpecifierList& specifiers) {
  allSpecifiers_ = specifiers;
  removeDisabledGroups(specifiers);
}

PSListController::SpecifierList VXPRootListController::governedRows(
    const std::shared_ptr<PSSpecifier>& head) const {
  SpecifierList rows;
  auto it = std::find(allSpecifiers_.begin(), allSpecifiers_.end(), head);
  if (it == allSpecifiers_.end()) return rows;
  const std::int64_t count = head->propertyForKey(kNestedEntryCountKey).intValue();
  if (count <= 0) return rows;
  // A count that reaches past the end of the list governs the rows up to the end.
  const auto first = it + 1;
  const std::int64_t available = allSpecifiers_.end() - first;
  rows.assign(first, first + std::min(count, available));
  return rows;
}

void VXPRootListController::removeDisabledGroups(SpecifierList& specifiers) {
  // A row leaves the list when some head in the list that is off governs it. Handling each
  // inner group before the group holding it, and then taking from the list the holder's rows
  // that the inner groups left, comes to the same rows; collecting them once per head keeps
  // deeply nested groups linear instead of walking every inner group again for each holder.
  // The list is always the full list or one group of it, in the full list's order, so an
  // inner group reaching past the end of the list only names rows the list does not hold.
  std::unordered_set<const PSSpecifier*> hidden;
  for (std::size_t position = specifiers.size(); position-- > 0;) {
    const std::shared_ptr<PSSpecifier>& head = specifiers[position];
    if (!head->properties().contains(kNestedEntryCountKey)) continue;
    if (readPreferenceValue(head).boolValue()) continue;
    for (const auto& row : governedRows(head)) hidden.insert(row.get());
  }
  if (hidden.empty()) return;
  std::erase_if(specifiers, [&hidden](const std::shared_ptr<PSSpecifier>& row) {
    return hidden.contains(row.get());
  });
}

void VXPRootListController::removeNestedGroups(const std::shared_ptr<PSSpecifier>& specifier,
                                               const Foundation::Value& value) {
  if (!specifier || !specifier->properties().contains(kNestedEntryCountKey)) return;
  SpecifierList governed = governedRows(specifier);
  // Inner groups whose heads are off stay hidden, by the values now in the file.
  removeDisabledGroups(governed);
  if (value.boolValue()) {
    insertContiguousSpecifiers(governed, specifier, /*animated=*/true);
  } else {
    removeContiguousSpecifiers(governed, /*animated=*/true);
  }
}

// ---- buttons ----------------------------------------------------------------------------------

void VXPRootListController::defaultsettings(const std::shared_ptr<PSSpecifier>& /*specifier*/) {
  auto alert = UIAlertController::alertControllerWithTitle(kConfirmationTitle, kConfirmationMessage,
                                                           UIAlertControllerStyleAlert);
  std::weak_ptr<UIViewController> weakSelf = weak_from_this();
  alert->addAction(
      UIAlertAction::actionWithTitle("Yes", UIAlertActionStyleDefault, [weakSelf](UIAlertAction&) {
        if (auto self = std::static_pointer_cast<VXPRootListController>(weakSelf.lock())) {
          self->restoreDefaults();
        }
      }));
  alert->addAction(UIAlertAction::actionWithTitle("No", UIAlertActionStyleCancel, nullptr));
  presentViewController(alert, /*animated=*/true, nullptr);
}

void VXPRootListController::restoreDefaults() {
  // Coordinated like every write of the file, so that a position saved by the home screen at
  // the same moment lands either before the deletion or in a fresh file, never resurrecting
  // the old settings.
  std::string error;
  bool removed = false;
  const auto removeFile = [&] {
    std::shared_ptr<NSURL> url = NSURL::fileURLWithPath(kPreferencesFilePath);
    NSFileManager& files = NSFileManager::defaultManager();
    removed = url && files.removeItemAtPath(url->path(), &error);
    // No file is as good as a deleted one: the settings are at their defaults either way.
    if (!removed && url && !files.fileExistsAtPath(url->path())) removed = true;
  };
  if (!NSFileCoordinator::coordinateWritingItemAtPath(kPreferencesFilePath, removeFile)) {
    removeFile();  // the lock cannot be had: deleting unguarded beats not restoring at all
  }
  if (!removed) {
    NSLog("<VXTweak> could not restore default settings: %s", error.c_str());
    presentRestoreFailure();
    return;
  }
  reload();
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       kSettingsChangedNotification, nullptr, nullptr,
                                       /*deliverImmediately=*/true);
  presentRestoredNotice();
}

void VXPRootListController::presentRestoredNotice() {
  auto alert = UIAlertController::alertControllerWithTitle(kNoticeTitle, kNoticeMessage,
                                                           UIAlertControllerStyleAlert);
  alert->addAction(UIAlertAction::actionWithTitle("Respring", UIAlertActionStyleDefault,
                                                  [](UIAlertAction&) { respring(); }));
  presentViewController(alert, /*animated=*/true, nullptr);
}

void VXPRootListController::presentRestoreFailure() {
  auto alert = UIAlertController::alertControllerWithTitle(kFailureTitle, kFailureMessage,
                                                           UIAlertControllerStyleAlert);
  alert->addAction(UIAlertAction::actionWithTitle("OK", UIAlertActionStyleCancel, nullptr));
  presentViewController(alert, /*animated=*/true, nullptr);
}

void VXPRootListController::respring() {
  // Ending the backboard daemon restarts the user interface, the home screen and the tweak
  // library in it included. Nothing waits for the child or looks at the result.
  pid_t pid = 0;
  char* const arguments[] = {const_cast<char*>("killall"), const_cast<char*>("backboardd"),
                             nullptr};
  const char* program = killallProgramPath(
      [](const char* path) { return NSFileManager::defaultManager().fileExistsAtPath(path); });
  posix_spawn(&pid, program, nullptr, nullptr, arguments, nullptr);
}

void VXPRootListController::donationLink() {
  NSLog("<VXTweak> donationLink tap");
  UIApplication::sharedApplication()->openURL(NSURL::URLWithString(kDonationURL),
                                              Foundation::Dictionary{}, [](bool) {});
}
