// The application-list library's picker page, on the device: AltList's
// ATLApplicationListSubcontrollerController, whose page lists the installed applications with
// a switch each and stores the chosen bundle identifiers as one array under the key of the
// row that opened it (in that row's "defaults" domain), then posts the row's
// "PostNotification". Every behaviour here is the library's own; a subclass's overrides are
// reached from the library's calls as for any PSListController.
#pragma once

#include "Preferences/PSListController.h"

class ATLApplicationListSubcontrollerController : public PSListController {
 public:
  static constexpr const char* kApplicationIdentifierProperty = "applicationIdentifier";

  // The library's rows.
  const SpecifierList& specifiers() override;
  Foundation::Value readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier) override;
  void setPreferenceValue(const Foundation::Value& value,
                          const std::shared_ptr<PSSpecifier>& specifier) override;
};
