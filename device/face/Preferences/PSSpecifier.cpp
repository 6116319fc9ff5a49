#include "Preferences/PSSpecifier.h"

#include <utility>

#include "Preferences/PSCellTypeNames.h"
#include "Preferences/PSListController.h"
#include "PropertyListBridge.h"
#include "native/Preferences/NativeListController.h"
#include "native/Preferences/NativeSpecifier.h"

namespace preferences = gw::native::preferences;

namespace {

std::string textOf(const Foundation::Value& value) {
  const std::string* text = value.stringValue();
  return text ? *text : std::string();
}

}  // namespace

PSSpecifier::PSSpecifier(Foundation::Dictionary properties) : properties_(std::move(properties)) {
  cellType_ = cellTypeFromName(textOf(properties_.valueForKey("cell"))).value_or(PSStaticTextCell);
  native_ = preferences::makeSpecifier(
      textOf(properties_.valueForKey("label")), cellType_,
      gw::device::nativePropertyList(Foundation::Value::dictionary(properties_)));
}

PSSpecifier::PSSpecifier(Adopting, gw::native::Object specifier) : native_(std::move(specifier)) {
  if (const Foundation::Dictionary* entries =
          gw::device::valueOfPropertyList(preferences::specifierProperties(native_))
              .dictionaryValue()) {
    properties_ = *entries;
  }
  const std::int64_t type = preferences::specifierCellType(native_);
  cellType_ = static_cast<PSCellType>(type);
  const std::string label = preferences::specifierName(native_);
  if (!label.empty() && !properties_.contains("label")) {
    properties_.set("label", Foundation::Value::string(label));
  }
  const std::string_view cell = gw::preferences::nameOfCellType(type);
  if (!cell.empty() && !properties_.contains("cell")) {
    properties_.set("cell", Foundation::Value::string(std::string(cell)));
  }
}

std::shared_ptr<PSSpecifier> PSSpecifier::specifierWithProperties(
    Foundation::Dictionary properties) {
  auto specifier = std::make_shared<PSSpecifier>(std::move(properties));
  specifier->nativeSpecifier();
  return specifier;
}

std::optional<PSCellType> PSSpecifier::cellTypeFromName(std::string_view name) {
  return gw::preferences::cellTypeNamed(name);
}

Foundation::Value PSSpecifier::propertyForKey(std::string_view key) const {
  Foundation::Value value =
      gw::device::valueOfPropertyList(preferences::specifierProperty(native_, std::string(key)));
  return value.isNull() ? properties_.valueForKey(key) : value;
}

void PSSpecifier::setProperty(const Foundation::Value& value, std::string key) {
  if (key == "cell") {
    cellType_ = cellTypeFromName(textOf(value)).value_or(PSStaticTextCell);
    preferences::setSpecifierCellType(native_, cellType_);
  }
  preferences::setSpecifierProperty(native_, gw::device::nativePropertyList(value), key);
  properties_.set(std::move(key), value);
}

std::string PSSpecifier::stringProperty(std::string_view key) const {
  return textOf(propertyForKey(key));
}

std::string PSSpecifier::name() const {
  std::string label = preferences::specifierName(native_);
  return label.empty() ? textOf(properties_.valueForKey("label")) : label;
}

std::string PSSpecifier::identifier() const {
  std::string id = stringProperty("id");
  if (id.empty()) id = stringProperty("key");
  if (id.empty()) id = name();
  return id;
}

std::shared_ptr<PSListController> PSSpecifier::target() const {
  if (auto target = target_.lock()) return target;
  // A row the framework made names its target only on the native side.
  return PSListController::forNativeController(preferences::specifierTarget(native_));
}

void PSSpecifier::setTarget(const std::shared_ptr<PSListController>& target) {
  target_ = target;
  preferences::setSpecifierTarget(
      native_, target ? preferences::controllerOf(target->nativeHandle()) : gw::native::Object());
}

const gw::native::Object& PSSpecifier::nativeSpecifier() const {
  if (!linked_) {
    // Only a row owned by a shared_ptr can be found again; others are linked once they are.
    std::shared_ptr<const PSSpecifier> self = weak_from_this().lock();
    if (self) {
      preferences::linkSpecifier(native_, std::const_pointer_cast<PSSpecifier>(self));
      linked_ = true;
    }
  }
  return native_;
}

std::shared_ptr<PSSpecifier> PSSpecifier::forNativeSpecifier(const gw::native::Object& specifier) {
  if (!specifier) return nullptr;
  if (std::shared_ptr<void> twin = preferences::linkedSpecifier(specifier)) {
    return std::static_pointer_cast<PSSpecifier>(twin);
  }
  std::shared_ptr<PSSpecifier> adopted(new PSSpecifier(Adopting{}, specifier));
  adopted->nativeSpecifier();
  return adopted;
}
