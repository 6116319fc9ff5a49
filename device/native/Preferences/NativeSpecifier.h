// One row of a settings page in the Preferences framework (PSSpecifier), for the face's
// PSSpecifier. A row keeps a weak link to the face's object that stands for it, so that a row
// the framework hands back finds that object again.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "native/NativeObject.h"

namespace gw::native::preferences {

// A new row labelled `name` of the cell type `cellType` (the framework's numbering) whose
// properties are the entries of `properties` (an NSDictionary; may be empty), reading and
// storing its value through its target's readPreferenceValue: / setPreferenceValue:specifier:;
// a "detail" entry names the class of the page it opens, an "action" entry its button's
// selector.
Object makeSpecifier(const std::string& name, std::int64_t cellType, const Object& properties);

// propertyForKey: / setProperty:forKey: (an empty value removes the entry).
Object specifierProperty(const Object& specifier, const std::string& key);
void setSpecifierProperty(const Object& specifier, const Object& value, const std::string& key);
// The row's properties as an NSDictionary (empty Object when it has none).
Object specifierProperties(const Object& specifier);
std::string specifierName(const Object& specifier);
std::int64_t specifierCellType(const Object& specifier);
void setSpecifierCellType(const Object& specifier, std::int64_t cellType);
// The row's target, which handles its values and actions (held weakly by the row).
Object specifierTarget(const Object& specifier);
void setSpecifierTarget(const Object& specifier, const Object& target);

// The face's object standing for the row: kept weakly, so the link never keeps it alive and
// gives null once it is gone.
void linkSpecifier(const Object& specifier, std::weak_ptr<void> twin);
std::shared_ptr<void> linkedSpecifier(const Object& specifier);

}  // namespace gw::native::preferences
