// Foundation::Value and the native layer's PropertyListNode, one into the other.
#pragma once

#include <optional>

#include "Foundation/Value.h"
#include "native/Foundation/PropertyListNode.h"

namespace gw::device {

// The node for `value`; nullopt for null. Inside arrays and dictionaries a null is left out. A
// point becomes the dictionary {x, y} and a colour {red, green, blue, alpha}, as the simulated
// device writes them: a property list has no kind for either.
std::optional<gw::native::foundation::PropertyListNode> nodeFromValue(
    const Foundation::Value& value);
Foundation::Value valueFromNode(const gw::native::foundation::PropertyListNode& node);
Foundation::Dictionary dictionaryFromNode(const gw::native::foundation::PropertyListNode& node);

}  // namespace gw::device
