// Foundation::Value to and from the framework's property-list objects, for the settings
// bundle's face. Points and colours have no property-list form: they become nil, as does a
// null Value; an object of no property-list kind (a row's image, say) becomes a null Value,
// and is left out of the array or dictionary holding it.
#pragma once

#include "Foundation/Value.h"
#include "native/NativeObject.h"

namespace gw::device {

gw::native::Object nativePropertyList(const Foundation::Value& value);
Foundation::Value valueOfPropertyList(const gw::native::Object& object);

}  // namespace gw::device
