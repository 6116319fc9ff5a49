// NSBundle by path.
#pragma once

#include <optional>
#include <string>

#include "native/Foundation/PropertyListNode.h"

namespace gw::native::foundation {

// bundleWithPath:'s bundlePath; nullopt when it gives nil.
std::optional<std::string> bundlePath(const std::string& path);
// The bundle's infoDictionary; nullopt when there is no bundle or it holds something that is
// not a property-list value.
std::optional<PropertyListNode> bundleInfoDictionary(const std::string& path);

}  // namespace gw::native::foundation
