// Property-list values between PropertyListNode and Foundation's objects (NSDictionary,
// NSArray, NSNumber, NSString, NSData, NSDate).
#pragma once

#include <optional>

#include "native/Foundation/PropertyListNode.h"
#include "native/NativeObject.h"

namespace gw::native::foundation {

// The object for `node`; empty when a string is not valid UTF-8.
Object objectFromNode(const PropertyListNode& node);
// The node for a property-list object; nullopt for nil or an object of another kind, or one
// holding such an object (or a dictionary key that is not a string).
std::optional<PropertyListNode> nodeFromObject(const Object& object);

}  // namespace gw::native::foundation
