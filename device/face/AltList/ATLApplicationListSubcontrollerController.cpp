#include "AltList/ATLApplicationListSubcontrollerController.h"

#include "native/Preferences/NativeListController.h"

const PSListController::SpecifierList& ATLApplicationListSubcontrollerController::specifiers() {
  // The library builds, caches and rebuilds its rows itself: they are taken as it gives them.
  if (nativeHandle()) {
    std::vector<gw::native::Object> rows = gw::native::preferences::baseSpecifiers(nativeHandle());
    _specifiers.clear();
    for (const auto& row : rows) {
      if (auto specifier = PSSpecifier::forNativeSpecifier(row)) {
        _specifiers.push_back(std::move(specifier));
      }
    }
  }
  return _specifiers;
}

Foundation::Value ATLApplicationListSubcontrollerController::readPreferenceValue(
    const std::shared_ptr<PSSpecifier>& specifier) {
  return PSListController::readPreferenceValue(specifier);
}

void ATLApplicationListSubcontrollerController::setPreferenceValue(
    const Foundation::Value& value, const std::shared_ptr<PSSpecifier>& specifier) {
  PSListController::setPreferenceValue(value, specifier);
}
