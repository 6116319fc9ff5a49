#include "Preferences/PSListController.h"

#include <utility>

#include "ListControllerPeer.h"
#include "PropertyListBridge.h"
#include "SpecifierEdits.h"
#include "UIKit/UIAlertController.h"
#include "UIKit/UITableView.h"
#include "UIKitObjects.h"
#include "native/Preferences/NativeListController.h"

namespace preferences = gw::native::preferences;

namespace {

std::vector<gw::native::Object> nativeSpecifiers(const PSListController::SpecifierList& rows) {
  std::vector<gw::native::Object> natives;
  natives.reserve(rows.size());
  for (const auto& row : rows) {
    if (row) natives.push_back(row->nativeSpecifier());
  }
  return natives;
}

PSListController::SpecifierList specifiersFor(const std::vector<gw::native::Object>& natives) {
  PSListController::SpecifierList rows;
  rows.reserve(natives.size());
  for (const auto& native : natives) {
    if (auto row = PSSpecifier::forNativeSpecifier(native)) rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

PSListController::PSListController() = default;

PSListController::~PSListController() = default;

// ---- parent row --------------------------------------------------------------------------

const std::shared_ptr<PSSpecifier>& PSListController::specifier() const {
  // The framework sets the row after making the controller, so it is asked each time.
  if (gw::native::Object row = preferences::parentSpecifier(handle_)) {
    parentSpecifier_ = PSSpecifier::forNativeSpecifier(row);
  }
  return parentSpecifier_;
}

void PSListController::setSpecifier(std::shared_ptr<PSSpecifier> specifier) {
  preferences::setParentSpecifier(handle_,
                                  specifier ? specifier->nativeSpecifier() : gw::native::Object());
  parentSpecifier_ = std::move(specifier);
}

// ---- rows -------------------------------------------------------------------------------

const PSListController::SpecifierList& PSListController::specifiers() {
  return _specifiers;
}

PSListController::SpecifierList PSListController::loadSpecifiersFromPlistName(
    std::string_view name, const std::shared_ptr<PSListController>& target) {
  SpecifierList loaded = specifiersFor(preferences::loadSpecifiersFromPlistName(
      handle_, std::string(name), target ? target->nativeHandle() : gw::native::Object()));
  for (const auto& row : loaded) row->setTarget(target);
  return loaded;
}

void PSListController::insertContiguousSpecifiers(
    const SpecifierList& specifiers, const std::shared_ptr<PSSpecifier>& afterSpecifier,
    bool animated) {
  if (!afterSpecifier || !handle_) return;
  const SpecifierList block = gw::device::rowsToInsert(
      specifiersFor(preferences::shownSpecifiers(handle_)), specifiers, afterSpecifier);
  if (block.empty()) return;
  preferences::insertContiguousSpecifiers(handle_, nativeSpecifiers(block),
                                          afterSpecifier->nativeSpecifier(), animated);
  adoptShownSpecifiers();
}

void PSListController::removeContiguousSpecifiers(const SpecifierList& specifiers, bool animated) {
  if (!handle_) return;
  for (const SpecifierList& run :
       gw::device::runsToRemove(specifiersFor(preferences::shownSpecifiers(handle_)), specifiers)) {
    preferences::removeContiguousSpecifiers(handle_, nativeSpecifiers(run), animated);
  }
  adoptShownSpecifiers();
}

void PSListController::reloadSpecifier(const std::shared_ptr<PSSpecifier>& specifier,
                                       bool animated) {
  if (specifier) preferences::reloadSpecifier(handle_, specifier->nativeSpecifier(), animated);
}

void PSListController::reload() {
  _specifiers.clear();
  // The framework asks specifiers() again while it rebuilds the page.
  preferences::baseReloadSpecifiers(handle_);
}

void PSListController::adoptShownSpecifiers() {
  if (!handle_) return;
  _specifiers = specifiersFor(preferences::shownSpecifiers(handle_));
}

// ---- view --------------------------------------------------------------------------------

void PSListController::loadView() {
  preferences::baseLoadView(handle_);
  table_ = gw::device::tableViewForNative(preferences::table(handle_));
}

// ---- values ------------------------------------------------------------------------------

Foundation::Value PSListController::readPreferenceValue(
    const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return {};
  return gw::device::valueOfPropertyList(
      preferences::baseReadPreferenceValue(handle_, specifier->nativeSpecifier()));
}

void PSListController::setPreferenceValue(const Foundation::Value& value,
                                          const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return;
  preferences::baseSetPreferenceValue(handle_, gw::device::nativePropertyList(value),
                                      specifier->nativeSpecifier());
}

// ---- modal presentation ------------------------------------------------------------------

void PSListController::presentViewController(const std::shared_ptr<UIViewController>& controller,
                                             bool animated, std::function<void()> completion) {
  if (!controller) return;
  gw::native::Object shown = gw::device::nativeViewController(*controller);
  if (!shown) return;
  // Kept while UIKit shows it: the native alert's handlers reach the C++ one.
  presented_ = controller;
  if (auto alert = std::dynamic_pointer_cast<UIAlertController>(controller)) {
    std::weak_ptr<UIViewController> weakSelf = weak_from_this();
    std::weak_ptr<UIAlertController> weakAlert = alert;
    alert->didPresent([weakSelf, weakAlert] {
      auto self = std::static_pointer_cast<PSListController>(weakSelf.lock());
      if (self && self->presented_ && self->presented_ == weakAlert.lock()) {
        self->presented_.reset();
      }
    });
  }
  preferences::presentViewController(handle_, shown, animated, std::move(completion));
}

void PSListController::dismissViewController(bool animated, std::function<void()> completion) {
  std::shared_ptr<UIViewController> dismissed = std::move(presented_);
  presented_.reset();
  preferences::dismissViewController(handle_, animated, std::move(completion));
  if (auto alert = std::dynamic_pointer_cast<UIAlertController>(dismissed)) alert->didDismiss();
}

const std::shared_ptr<UIViewController>& PSListController::presentedViewController() const {
  if (!preferences::presentedViewController(handle_)) presented_.reset();
  return presented_;
}

// ---- controller classes ------------------------------------------------------------------

bool PSListController::registerControllerFactory(
    const std::string& className, std::function<std::shared_ptr<PSListController>()> make) {
  if (!make) return false;
  return preferences::registerPeerFactory(
      className,
      [make = std::move(make)](
          const gw::native::Object& handle) -> std::shared_ptr<preferences::ControllerPeer> {
        std::shared_ptr<PSListController> controller = make();
        if (!controller) return nullptr;
        controller->attach(handle);
        return std::make_shared<gw::device::ListControllerPeer>(std::move(controller));
      });
}

std::shared_ptr<PSListController> PSListController::forNativeController(
    const gw::native::Object& object) {
  return std::static_pointer_cast<PSListController>(preferences::controllerBehind(object));
}
