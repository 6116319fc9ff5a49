#include "Preferences/PSSpecifier.h"

#include <utility>

#include "Preferences/PSCellTypeNames.h"

PSSpecifier::PSSpecifier(Foundation::Dictionary properties)
    : properties_(std::move(properties)), cellType_(PSStaticTextCell) {
  cellType_ = cellTypeFromName(stringProperty("cell")).value_or(PSStaticTextCell);
}

std::optional<PSCellType> PSSpecifier::cellTypeFromName(std::string_view name) {
  return gw::preferences::cellTypeNamed(name);
}

void PSSpecifier::setProperty(const Foundation::Value& value, std::string key) {
  if (key == "cell") {
    const std::string* name = value.stringValue();
    cellType_ = cellTypeFromName(name ? *name : std::string_view()).value_or(PSStaticTextCell);
  }
  properties_.set(std::move(key), value);
}

std::string PSSpecifier::stringProperty(std::string_view key) const {
  const Foundation::Value* value = properties_.find(key);
  const std::string* text = value ? value->stringValue() : nullptr;
  return text ? *text : std::string();
}

std::string PSSpecifier::identifier() const {
  std::string id = stringProperty("id");
  if (id.empty()) id = stringProperty("key");
  if (id.empty()) id = name();
  return id;
}
