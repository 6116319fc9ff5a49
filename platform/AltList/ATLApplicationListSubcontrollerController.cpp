#include "AltList/ATLApplicationListSubcontrollerController.h"

#include <algorithm>

#include "Foundation/NSBundle.h"
#include "SpringBoard/HomeScreenState.h"

namespace {

// The name the home screen shows: the bundle's CFBundleName, else its identifier.
std::string displayName(const SBApplication& application) {
  if (auto bundle = NSBundle::bundleWithPath(application.bundlePath())) {
    const Foundation::Value* name = bundle->infoDictionary().find("CFBundleName");
    if (name && name->stringValue() && !name->stringValue()->empty()) return *name->stringValue();
  }
  return application.bundleIdentifier();
}

void setError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

}  // namespace

std::vector<std::string> ATLApplicationListSubcontrollerController::applicationIdentifiers() const {
  std::vector<std::string> identifiers;
  for (const auto& application : HomeScreenState::current().applications()) {
    identifiers.push_back(application->bundleIdentifier());
  }
  return identifiers;
}

const PSListController::SpecifierList& ATLApplicationListSubcontrollerController::specifiers() {
  if (_specifiers.empty()) {
    for (const auto& application : HomeScreenState::current().applications()) {
      auto row = PSSpecifier::specifierWithProperties(Foundation::Dictionary{
          {"cell", Foundation::Value::string("PSSwitchCell")},
          {"label", Foundation::Value::string(displayName(*application))},
          {"key", Foundation::Value::string(application->bundleIdentifier())},
          {kApplicationIdentifierProperty,
           Foundation::Value::string(application->bundleIdentifier())},
      });
      _specifiers.push_back(std::move(row));
    }
  }
  return _specifiers;
}

Foundation::Value ATLApplicationListSubcontrollerController::readPreferenceValue(
    const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return {};
  const std::string identifier = specifier->stringProperty(kApplicationIdentifierProperty);
  if (identifier.empty()) return PSListController::readPreferenceValue(specifier);
  const std::vector<std::string> chosen = chosenApplications();
  return Foundation::Value::boolean(std::find(chosen.begin(), chosen.end(), identifier) !=
                                    chosen.end());
}

void ATLApplicationListSubcontrollerController::setPreferenceValue(
    const Foundation::Value& value, const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return;
  const std::string identifier = specifier->stringProperty(kApplicationIdentifierProperty);
  if (identifier.empty()) {
    PSListController::setPreferenceValue(value, specifier);
    return;
  }
  setApplicationChosen(identifier, value.boolValue());
  reloadSpecifier(specifier, false);
}

std::vector<std::string> ATLApplicationListSubcontrollerController::chosenApplications() {
  std::vector<std::string> chosen;
  if (!specifier()) return chosen;
  const Foundation::Value stored = PSListController::readPreferenceValue(specifier());
  if (const Foundation::Array* elements = stored.arrayValue()) {
    for (const auto& element : *elements) {
      if (element.stringValue()) chosen.push_back(*element.stringValue());
    }
  }
  return chosen;
}

bool ATLApplicationListSubcontrollerController::setApplicationChosen(
    const std::string& bundleIdentifier, bool chosen) {
  std::vector<std::string> choice = chosenApplications();
  auto it = std::find(choice.begin(), choice.end(), bundleIdentifier);
  if (chosen && it == choice.end()) choice.push_back(bundleIdentifier);
  if (!chosen)
    choice.erase(std::remove(choice.begin(), choice.end(), bundleIdentifier), choice.end());
  if (chosen && !HomeScreenState::current().application(bundleIdentifier)) return false;
  return storeChoice(choice, nullptr);
}

bool ATLApplicationListSubcontrollerController::chooseApplications(
    const std::vector<std::string>& bundleIdentifiers, std::string* error) {
  std::vector<std::string> choice;
  for (const auto& identifier : bundleIdentifiers) {
    if (!HomeScreenState::current().application(identifier)) {
      setError(error, "'" + identifier + "' is not installed");
      return false;
    }
    if (std::find(choice.begin(), choice.end(), identifier) == choice.end()) {
      choice.push_back(identifier);
    }
  }
  return storeChoice(choice, error);
}

bool ATLApplicationListSubcontrollerController::storeChoice(
    const std::vector<std::string>& bundleIdentifiers, std::string* error) {
  if (!specifier()) {
    setError(error, "the picker was not opened from a row");
    return false;
  }
  Foundation::Array elements;
  for (const auto& identifier : bundleIdentifiers) {
    elements.push_back(Foundation::Value::string(identifier));
  }
  if (!storeValue(Foundation::Value::array(std::move(elements)), *specifier())) {
    setError(error, "the choice could not be stored");
    return false;
  }
  postNotificationOf(*specifier());
  return true;
}
