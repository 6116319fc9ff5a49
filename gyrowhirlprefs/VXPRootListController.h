// The root page of the settings pane: an animated header over the rows of the "Root"
// specifier list, every value kept in the preferences file its row names, dependent groups
// (a switch row with "nestedEntryCount" N governs the N rows after it, which are shown only
// while it is on; groups nest), and the restore-defaults and donation buttons.
//
// It runs in the Settings process, on its main thread, and shares no code with the tweak
// library: the two meet through the preferences file, the Darwin notification each row names
// and the image folder.
#pragma once

#include <memory>
#include <string>

#include "Preferences/PSListController.h"

class UILabel;

class VXPRootListController : public PSListController {
 public:
  static constexpr const char* kClassName = "VXPRootListController";
  static constexpr const char* kPreferencesFolder = "/var/mobile/Library/Preferences";
  static constexpr const char* kPreferencesFilePath =
      "/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist";
  static constexpr const char* kSettingsChangedNotification = "com.zel.gyrowhirl.settingschanged";
  static constexpr const char* kBannerFolder = "/var/mobile/Library/Preferences/GyrowhirlPrefs";
  static constexpr const char* kBannerName = "SettingsBannerGWH";
  static constexpr const char* kDonationURL = "https://donate.example.com/gyrowhirl";

  static constexpr double kHeaderHeightPoints = 140;
  static constexpr double kBannerHeightPoints = 150;
  static constexpr double kFadeInDelaySeconds = 0.5;
  static constexpr double kFadeDurationSeconds = 0.5;

  // Registers the button actions "defaultsettings:" and "donationLink".
  VXPRootListController();
  ~VXPRootListController() override;

  // ---- fields ----------------------------------------------------------------------------
  const std::shared_ptr<UILabel>& label() const { return label_; }
  void setLabel(std::shared_ptr<UILabel> label) { label_ = std::move(label); }
  const std::shared_ptr<UILabel>& underLabel() const { return underLabel_; }
  void setUnderLabel(std::shared_ptr<UILabel> label) { underLabel_ = std::move(label); }
  // The full row list as loaded from "Root", before any row is hidden; positions in it
  // decide which rows a switch governs.
  const SpecifierList& allSpecifiers() const { return allSpecifiers_; }
  void setAllSpecifiers(SpecifierList specifiers) { allSpecifiers_ = std::move(specifiers); }

  // ---- the framework's operations ------------------------------------------------------------
  // Loads "Root" once (while `_specifiers` is empty) and leaves out the rows of switched-off
  // groups.
  const SpecifierList& specifiers() override;
  // The table, then the header.
  void loadView() override;
  // The row's entry "key" in "/var/mobile/Library/Preferences/<defaults>.plist", read afresh
  // on every call, else the row's "default" (null when that is absent too).
  Foundation::Value readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier) override;
  // Stores the value with a coordinated read-modify-write that keeps every other entry, then
  // posts the row's "PostNotification", then (for a switch) shows or hides its group. A write
  // that fails is logged to the system log and nothing else happens: no notification, the
  // page's groups as they were, and the row redrawn from the file.
  void setPreferenceValue(const Foundation::Value& value,
                          const std::shared_ptr<PSSpecifier>& specifier) override;

  // ---- header ------------------------------------------------------------------------------
  // Builds the header (banner, product name, subtitle) and starts its fade-in: the name from
  // 0.5 to 1.0 s after the call, the subtitle from 1.0 to 1.5 s.
  void headerCell();
  void createUpperLabel();
  void createUnderLabel();
  void increaseAlpha();

  // ---- dependent groups --------------------------------------------------------------------
  // Keeps a copy of the freshly loaded list in allSpecifiers, then hides disabled groups.
  void applyModificationsToSpecifiers(SpecifierList& specifiers);
  // Takes out of `specifiers` the rows of every group whose head (a row of `specifiers`) is
  // off; an absent value counts as off. Each head's value is read once; time grows with the
  // rows times the heads, however deeply groups nest.
  void removeDisabledGroups(SpecifierList& specifiers);
  // After a head's value changed to `value`: inserts its group (without the rows of inner
  // groups that are off) directly after it, or takes the group's rows off the page.
  void removeNestedGroups(const std::shared_ptr<PSSpecifier>& specifier,
                          const Foundation::Value& value);

  // ---- buttons -----------------------------------------------------------------------------
  // Asks for confirmation, then restores every setting by deleting the preferences file,
  // tells the tweak library and offers a respring.
  void defaultsettings(const std::shared_ptr<PSSpecifier>& specifier);
  // Logs and opens the donation page in the browser.
  void donationLink();

 private:
  // The rows a head governs: the entries of allSpecifiers after it, as many as its
  // "nestedEntryCount" says, cut at the end of the list. Empty for a count of 0 or less or a
  // row that is not in allSpecifiers.
  SpecifierList governedRows(const std::shared_ptr<PSSpecifier>& head) const;
  void restoreDefaults();
  void presentRestoredNotice();
  void presentRestoreFailure();
  static void respring();

  std::shared_ptr<UILabel> label_;
  std::shared_ptr<UILabel> underLabel_;
  SpecifierList allSpecifiers_;
};
