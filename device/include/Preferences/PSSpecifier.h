// One row of a settings page (PSSpecifier), on the device: the Preferences framework's row,
// with its entry of the page's specifier list ("cell", "label", "key", "default", "defaults",
// "PostNotification", "action", "detail", ...) kept as its properties.
//
// The framework's row is the truth: properties are read from it, and written to it as well as
// to the copy properties() gives. A row the framework hands back (to readPreferenceValue(),
// setPreferenceValue(), an action) is the same C++ object as long as something holds that.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Foundation/Value.h"
#include "native/NativeObject.h"

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

class PSSpecifier : public std::enable_shared_from_this<PSSpecifier> {
 public:
  // A new row of the framework made from its specifier-list entry; the cell type comes from
  // "cell" (an unknown or missing name gives PSStaticTextCell, a row that shows its label and
  // nothing else).
  explicit PSSpecifier(Foundation::Dictionary properties);
  static std::shared_ptr<PSSpecifier> specifierWithProperties(Foundation::Dictionary properties);
  // The cell type named `name` ("PSSwitchCell"), or nullopt for a name the framework lacks.
  static std::optional<PSCellType> cellTypeFromName(std::string_view name);

  // The entries as they were when the row was made or handed over, with every setProperty()
  // since; "label" and "cell" included.
  const Foundation::Dictionary& properties() const { return properties_; }
  // propertyForKey: — the framework row's property, else the entry of properties(); null
  // when absent.
  Foundation::Value propertyForKey(std::string_view key) const;
  void setProperty(const Foundation::Value& value, std::string key);
  // The text of a string property, or empty.
  std::string stringProperty(std::string_view key) const;

  PSCellType cellType() const { return cellType_; }
  // The row's label, what PSSpecifier's name gives.
  std::string name() const;
  std::string label() const { return name(); }
  // "id", else "key", else the label.
  std::string identifier() const;

  // The controller that handles the row's actions and values. Not owned.
  std::shared_ptr<PSListController> target() const;
  void setTarget(const std::shared_ptr<PSListController>& target);

  // ---- the adapter's side ----------------------------------------------------------------
  // The framework's row, linked back to this object from the first call on.
  const gw::native::Object& nativeSpecifier() const;
  // The C++ row standing for the framework's row `specifier`: the one already linked to it
  // while it lives, else a new one (linked from then on). Null for an empty Object.
  static std::shared_ptr<PSSpecifier> forNativeSpecifier(const gw::native::Object& specifier);

 private:
  struct Adopting {};
  PSSpecifier(Adopting, gw::native::Object specifier);
  gw::native::Object native_;
  mutable bool linked_ = false;
  Foundation::Dictionary properties_;
  PSCellType cellType_ = PSStaticTextCell;
  std::weak_ptr<PSListController> target_;
};
