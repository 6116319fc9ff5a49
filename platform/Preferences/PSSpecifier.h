// One row of a settings page (PSSpecifier): the row's entry of the page's specifier list
// ("cell", "label", "key", "default", "defaults", "PostNotification", "action", "detail", ...)
// kept as its properties, and the cell type its "cell" name stands for.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Foundation/Value.h"

class PSListController;

// The framework's cell types, with the framework's numbering.
enum PSCellType : std::int64_t {
  PSGroupCell = 0,
  PSLinkCell = 1,
  PSLinkListCell = 2,
  PSListItemCell = 3,
  PSTitleValueCell = 4,
  PSSliderCell = 5,
  PSSwitchCell = 6,
  PSStaticTextCell = 7,
  PSEditTextCell = 8,
  PSSegmentCell = 9,
  PSGiantIconCell = 10,
  PSGiantCell = 11,
  PSSecureEditTextCell = 12,
  PSButtonCell = 13,
  PSEditTextViewCell = 14,
};

class PSSpecifier {
 public:
  // A row made from its specifier-list entry; the cell type comes from "cell" (an unknown or
  // missing name gives PSStaticTextCell, a row that shows its label and nothing else).
  explicit PSSpecifier(Foundation::Dictionary properties);
  static std::shared_ptr<PSSpecifier> specifierWithProperties(Foundation::Dictionary properties) {
    return std::make_shared<PSSpecifier>(std::move(properties));
  }
  // The cell type named `name` ("PSSwitchCell"), or nullopt for a name the framework lacks.
  static std::optional<PSCellType> cellTypeFromName(std::string_view name);

  const Foundation::Dictionary& properties() const { return properties_; }
  // propertyForKey: — null when absent.
  Foundation::Value propertyForKey(std::string_view key) const {
    return properties_.valueForKey(key);
  }
  void setProperty(const Foundation::Value& value, std::string key);
  // The text of a string property, or empty.
  std::string stringProperty(std::string_view key) const;

  PSCellType cellType() const { return cellType_; }
  // The row's label ("label"), what PSSpecifier's name gives.
  std::string name() const { return stringProperty("label"); }
  std::string label() const { return name(); }
  // "id", else "key", else the label.
  std::string identifier() const;

  // The controller that handles the row's actions and values: the target given when the list
  // was loaded. Not owned (the controller owns its rows).
  std::shared_ptr<PSListController> target() const { return target_.lock(); }
  void setTarget(const std::shared_ptr<PSListController>& target) { target_ = target; }

 private:
  Foundation::Dictionary properties_;
  PSCellType cellType_;
  std::weak_ptr<PSListController> target_;
};
