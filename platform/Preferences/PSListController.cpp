#include "Preferences/PSListController.h"

#include <algorithm>
#include <cmath>

#include "CoreFoundation/CFNotificationCenter.h"
#include "Foundation/NSBundle.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSLog.h"
#include "Foundation/SimulatedRunLoop.h"
#include "ObjCRuntime/runtime.h"
#include "UIKit/UIAlertController.h"
#include "UIKit/UIAlertControllerPresentation.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UITableView.h"

namespace {

bool hasValue(const PSSpecifier& specifier) {
  switch (specifier.cellType()) {
    case PSGroupCell:
    case PSButtonCell:
      return false;
    default:
      return !specifier.stringProperty("key").empty();
  }
}

void setError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

bool sameValue(const Foundation::Value& a, const Foundation::Value& b) {
  if (a.isNumber() && b.isNumber()) return a.doubleValue() == b.doubleValue();
  return a == b;
}

}  // namespace

PSListController::PSListController() = default;

PSListController::~PSListController() = default;

// ---- rows -------------------------------------------------------------------------------

const PSListController::SpecifierList& PSListController::specifiers() {
  return _specifiers;
}

PSListController::SpecifierList PSListController::loadSpecifiersFromPlistName(
    std::string_view name, const std::shared_ptr<PSListController>& target) {
  SpecifierList loaded;
  if (!bundle_ || name.empty() || name.find('/') != std::string_view::npos) return loaded;
  const std::string path = bundle_->bundlePath() + "/" + std::string(name) + ".plist";
  const std::optional<Foundation::Dictionary> list =
      NSDictionary::dictionaryWithContentsOfFile(path);
  if (!list) return loaded;
  const Foundation::Value* items = list->find("items");
  if (!items || !items->arrayValue()) return loaded;
  for (const Foundation::Value& item : *items->arrayValue()) {
    const Foundation::Dictionary* entry = item.dictionaryValue();
    if (!entry) continue;
    auto specifier = PSSpecifier::specifierWithProperties(*entry);
    specifier->setTarget(target);
    loaded.push_back(std::move(specifier));
  }
  return loaded;
}

void PSListController::insertContiguousSpecifiers(
    const SpecifierList& specifiers, const std::shared_ptr<PSSpecifier>& afterSpecifier,
    bool /*animated*/) {
  auto anchor = std::find(_specifiers.begin(), _specifiers.end(), afterSpecifier);
  if (!afterSpecifier || anchor == _specifiers.end()) return;
  SpecifierList block;
  for (const auto& specifier : specifiers) {
    if (!specifier) continue;
    if (std::find(_specifiers.begin(), _specifiers.end(), specifier) != _specifiers.end()) continue;
    if (std::find(block.begin(), block.end(), specifier) != block.end()) continue;
    block.push_back(specifier);
  }
  _specifiers.insert(anchor + 1, block.begin(), block.end());
  noteRedraw();
}

void PSListController::removeContiguousSpecifiers(const SpecifierList& specifiers,
                                                  bool /*animated*/) {
  const auto removed = [&specifiers](const std::shared_ptr<PSSpecifier>& shown) {
    return std::find(specifiers.begin(), specifiers.end(), shown) != specifiers.end();
  };
  _specifiers.erase(std::remove_if(_specifiers.begin(), _specifiers.end(), removed),
                    _specifiers.end());
  noteRedraw();
}

void PSListController::reloadSpecifier(const std::shared_ptr<PSSpecifier>& /*specifier*/,
                                       bool /*animated*/) {
  // Rows read their values whenever they are drawn; nothing is cached to forget.
  noteRedraw();
}

void PSListController::reload() {
  _specifiers.clear();
  specifiers();
  noteRedraw();
}

// ---- view --------------------------------------------------------------------------------

void PSListController::loadView() {
  table_ = std::make_shared<UITableView>(UIScreen::mainScreen().bounds());
  setView(table_);
}

// ---- values ------------------------------------------------------------------------------

std::string PSListController::preferencesPathForDomain(std::string_view domain) {
  if (domain.empty() || domain.find('/') != std::string_view::npos) return {};
  return std::string(kPreferencesFolder) + "/" + std::string(domain) + ".plist";
}

Foundation::Value PSListController::readPreferenceValue(
    const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return {};
  const std::string key = specifier->stringProperty("key");
  const std::string path = preferencesPathForDomain(specifier->stringProperty("defaults"));
  if (!key.empty() && !path.empty()) {
    if (auto entries = NSDictionary::dictionaryWithContentsOfFile(path)) {
      if (const Foundation::Value* value = entries->find(key)) return *value;
    }
  }
  return specifier->propertyForKey("default");
}

bool PSListController::storeValue(const Foundation::Value& value, const PSSpecifier& specifier) {
  const std::string key = specifier.stringProperty("key");
  const std::string path = preferencesPathForDomain(specifier.stringProperty("defaults"));
  if (key.empty() || path.empty()) return false;
  bool written = false;
  const bool coordinated = NSFileCoordinator::coordinateWritingItemAtPath(path, [&] {
    // A file that is there but cannot be read is left alone rather than replaced by this one
    // entry.
    std::optional<Foundation::Dictionary> entries =
        NSDictionary::readForRewrite(path).baseForRewrite();
    if (!entries) return;
    entries->set(key, value);
    written = NSDictionary::writeToFile(*entries, path, /*atomically=*/true);
  });
  if (!coordinated || !written) {
    NSLog("could not save '%s' to '%s'", key.c_str(), path.c_str());
    return false;
  }
  return true;
}

void PSListController::postNotificationOf(const PSSpecifier& specifier) {
  const std::string name = specifier.stringProperty("PostNotification");
  if (name.empty()) return;
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name, nullptr,
                                       nullptr, /*deliverImmediately=*/true);
}

void PSListController::setPreferenceValue(const Foundation::Value& value,
                                          const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return;
  if (storeValue(value, *specifier)) postNotificationOf(*specifier);
  reloadSpecifier(specifier, false);
}

// ---- modal presentation ------------------------------------------------------------------

void PSListController::presentViewController(const std::shared_ptr<UIViewController>& controller,
                                             bool /*animated*/, std::function<void()> completion) {
  if (!controller || presented_) return;
  presented_ = controller;
  if (auto alert = std::dynamic_pointer_cast<UIAlertController>(controller)) {
    std::weak_ptr<UIViewController> weakSelf = weak_from_this();
    std::weak_ptr<UIAlertController> weakAlert = alert;
    UIAlertControllerPresentation::didPresent(*alert, [weakSelf, weakAlert] {
      auto self = std::static_pointer_cast<PSListController>(weakSelf.lock());
      if (self && self->presented_ && self->presented_ == weakAlert.lock()) {
        self->presented_.reset();
      }
    });
  }
  if (completion) {
    SimulatedRunLoop& loop = SimulatedRunLoop::current();
    loop.performAt(loop.now(), std::move(completion));
  }
}

void PSListController::dismissViewController(bool /*animated*/, std::function<void()> completion) {
  std::shared_ptr<UIViewController> dismissed = std::move(presented_);
  presented_.reset();
  if (auto alert = std::dynamic_pointer_cast<UIAlertController>(dismissed))
    UIAlertControllerPresentation::didDismiss(*alert);
  if (completion) {
    SimulatedRunLoop& loop = SimulatedRunLoop::current();
    loop.performAt(loop.now(), std::move(completion));
  }
}

// ---- controller classes ------------------------------------------------------------------

std::shared_ptr<PSListController> PSListController::controllerWithClassName(
    std::string_view className) {
  if (className.empty()) return nullptr;
  const std::string name(className);
  auto* make =
      class_getMethodImplementation<ControllerFactory>(objc_getClass(name.c_str()), kNewSelector);
  if (!make) return nullptr;
  return make(objc_getClass(name.c_str()), kNewSelector);
}

// ---- the user's side ---------------------------------------------------------------------

std::vector<PSListController::Row> PSListController::rowsShown() {
  const SpecifierList shown = specifiers();  // a copy: reading a value may change nothing
  std::vector<Row> rows;
  rows.reserve(shown.size());
  for (const auto& specifier : shown) {
    Row row;
    row.specifier = specifier;
    const std::string key = specifier->stringProperty("key");
    row.title = key.empty() ? specifier->name() : key;
    if (hasValue(*specifier)) row.value = readPreferenceValue(specifier);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::shared_ptr<PSSpecifier> PSListController::shownRowNamed(std::string_view name) const {
  for (const auto& specifier : _specifiers) {
    if (specifier->name() == name) return specifier;
  }
  for (const auto& specifier : _specifiers) {
    if (specifier->stringProperty("key") == name) return specifier;
  }
  return nullptr;
}

bool PSListController::userChangedValue(std::string_view key, const Foundation::Value& value,
                                        std::string* error) {
  specifiers();
  std::shared_ptr<PSSpecifier> row;
  for (const auto& specifier : _specifiers) {
    if (!key.empty() && specifier->stringProperty("key") == key) {
      row = specifier;
      break;
    }
  }
  if (!row) {
    setError(error, "no row with the key '" + std::string(key) + "' is shown");
    return false;
  }
  if (!hasValue(*row) || row->properties().contains("detail")) {
    setError(error, "the row '" + std::string(key) + "' takes no value here");
    return false;
  }
  Foundation::Value accepted = value;
  const Foundation::Value* validValues = row->properties().find("validValues");
  if (validValues && validValues->arrayValue()) {
    const Foundation::Array& choices = *validValues->arrayValue();
    auto it = std::find_if(
        choices.begin(), choices.end(),
        [&value](const Foundation::Value& choice) { return sameValue(choice, value); });
    if (it == choices.end()) {
      setError(error, "'" + value.description() + "' is not one of the row's choices");
      return false;
    }
    accepted = *it;
  } else {
    switch (row->cellType()) {
      case PSSwitchCell:
        if (!value.isNumber()) {
          setError(error, "a switch takes true or false");
          return false;
        }
        accepted = Foundation::Value::boolean(value.boolValue());
        break;
      case PSSliderCell: {
        double number = value.doubleValue();
        if (!value.isNumber() || !std::isfinite(number)) {
          setError(error, "a slider takes a number");
          return false;
        }
        const Foundation::Value minimum = row->propertyForKey("min");
        const Foundation::Value maximum = row->propertyForKey("max");
        if (minimum.isNumber()) number = std::max(number, minimum.doubleValue());
        if (maximum.isNumber()) number = std::min(number, maximum.doubleValue());
        accepted = Foundation::Value::real(number);
        break;
      }
      case PSEditTextCell:
      case PSSecureEditTextCell:
      case PSEditTextViewCell:
        if (!value.isString()) {
          setError(error, "a text field takes text");
          return false;
        }
        break;
      default:
        break;
    }
  }
  setPreferenceValue(accepted, row);
  return true;
}

bool PSListController::userPressedButton(std::string_view label, std::string* error) {
  specifiers();
  std::shared_ptr<PSSpecifier> row;
  for (const auto& specifier : _specifiers) {
    if (specifier->cellType() != PSGroupCell && specifier->name() == label &&
        specifier->properties().contains("action")) {
      row = specifier;
      break;
    }
  }
  if (!row) {
    setError(error, "no button '" + std::string(label) + "' is shown");
    return false;
  }
  const std::string action = row->stringProperty("action");
  std::shared_ptr<PSListController> target = row->target();
  PSListController& handler = target ? *target : *this;
  if (!handler.performAction(action, row)) {
    setError(error, "the button '" + std::string(label) + "' calls '" + action +
                        "', which its page does not have");
    return false;
  }
  return true;
}

std::shared_ptr<PSListController> PSListController::userOpenedDetail(std::string_view name,
                                                                     std::string* error) {
  specifiers();
  std::shared_ptr<PSSpecifier> row = shownRowNamed(name);
  if (!row || row->stringProperty("detail").empty()) {
    setError(error, "no row '" + std::string(name) + "' that opens a page is shown");
    return nullptr;
  }
  const std::string className = row->stringProperty("detail");
  std::shared_ptr<PSListController> detail = controllerWithClassName(className);
  if (!detail) {
    setError(error, "the class '" + className + "' is not loaded");
    return nullptr;
  }
  detail->setBundle(bundle_);
  detail->setSpecifier(row);
  detail->specifiers();
  detail->view();
  return detail;
}
