#include "ListControllerPeer.h"

#include "Preferences/PSListController.h"
#include "PropertyListBridge.h"

namespace gw::device {

std::vector<gw::native::Object> ListControllerPeer::specifiers() {
  std::vector<gw::native::Object> rows;
  for (const auto& specifier : controller_->specifiers()) {
    if (specifier) rows.push_back(specifier->nativeSpecifier());
  }
  return rows;
}

void ListControllerPeer::forgetSpecifiers() {
  controller_->forgetSpecifiers();
}

void ListControllerPeer::reloadSpecifiers() {
  controller_->reload();
}

gw::native::Object ListControllerPeer::readPreferenceValue(const gw::native::Object& specifier) {
  return nativePropertyList(
      controller_->readPreferenceValue(PSSpecifier::forNativeSpecifier(specifier)));
}

void ListControllerPeer::setPreferenceValue(const gw::native::Object& value,
                                            const gw::native::Object& specifier) {
  controller_->setPreferenceValue(valueOfPropertyList(value),
                                  PSSpecifier::forNativeSpecifier(specifier));
}

void ListControllerPeer::loadView() {
  controller_->loadView();
}

bool ListControllerPeer::hasAction(const std::string& name) {
  return controller_->hasAction(name);
}

void ListControllerPeer::performAction(const std::string& name,
                                       const gw::native::Object& specifier) {
  controller_->performAction(name, PSSpecifier::forNativeSpecifier(specifier));
}

}  // namespace gw::device
