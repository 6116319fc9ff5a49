// The application-list library's picker page: opened from a row of a settings page, it lists
// the device's installed applications, lets the user choose any number of them, and stores
// the chosen bundle identifiers as one array under the row's "key" in the preferences file of
// the row's "defaults" domain (a coordinated read-modify-write that keeps every other entry),
// then posts the row's "PostNotification". The array keeps the order in which the
// applications were chosen; an identifier is stored once.
//
// The page shows one switch row per installed application (in order of installation), keyed
// by its bundle identifier and labelled with its name; switching one stores the new choice.
#pragma once

#include <string>
#include <vector>

#include "Preferences/PSListController.h"

class ATLApplicationListSubcontrollerController : public PSListController {
 public:
  static constexpr const char* kApplicationIdentifierProperty = "applicationIdentifier";

  const SpecifierList& specifiers() override;
  Foundation::Value readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier) override;
  void setPreferenceValue(const Foundation::Value& value,
                          const std::shared_ptr<PSSpecifier>& specifier) override;

 private:
  // The simulated user's picks go through it.
  friend class ATLApplicationListUser;
  // The bundle identifiers of the installed applications, in order of installation.
  std::vector<std::string> applicationIdentifiers() const;
  // The stored choice: the string elements of the array under the row's key (the row's
  // "default" when the file has none; empty when that is no array either).
  std::vector<std::string> chosenApplications();
  // Adds or removes one application; false (nothing stored) for an application that is not
  // installed or when the file cannot be written.
  bool setApplicationChosen(const std::string& bundleIdentifier, bool chosen);
  // Replaces the whole choice with `bundleIdentifiers` (duplicates dropped). False, storing
  // nothing, when one of them is not installed or the file cannot be written, with a reason
  // in `error`.
  bool chooseApplications(const std::vector<std::string>& bundleIdentifiers,
                          std::string* error = nullptr);

  bool storeChoice(const std::vector<std::string>& bundleIdentifiers, std::string* error);
};
