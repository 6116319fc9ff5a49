// UILabel for the device face.
#pragma once

#include <cstdint>
#include <string>

#include "native/NativeObject.h"
#include "native/UIKit/NativeTypes.h"

namespace gw::native::label {

void setText(const Object& label, const std::string& text);
// +[UIFont fontWithName:size:], the system font of that size when the device has no such face
// or the name is one of the system font's own (".SFUI-Regular").
void setFont(const Object& label, const std::string& fontName, double pointSize);
void setTextColor(const Object& label, Color color);
// An NSTextAlignment value.
void setTextAlignment(const Object& label, std::int64_t alignment);
void setNumberOfLines(const Object& label, std::int64_t lines);

}  // namespace gw::native::label
