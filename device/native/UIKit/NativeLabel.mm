// Wraps UILabel (text, font, textColor, textAlignment, numberOfLines) and UIFont's
// fontWithName:size: / systemFontOfSize:.
#include "native/UIKit/NativeLabel.h"

#import <UIKit/UIKit.h>

#include "native/UIKit/NativeColor.h"

namespace gw::native::label {
namespace {

UILabel* asLabel(const Object& label) {
  id object = (__bridge id)label.get();
  return [object isKindOfClass:[UILabel class]] ? (UILabel*)object : nil;
}

}  // namespace

void setText(const Object& label, const std::string& text) {
  asLabel(label).text = [NSString stringWithUTF8String:text.c_str()];
}

void setFont(const Object& label, const std::string& fontName, double pointSize) {
  NSString* name = [NSString stringWithUTF8String:fontName.c_str()];
  // Names with a leading dot are the system font's private faces: asked for by name, UIKit
  // hands out a serif stand-in instead, so they go to systemFontOfSize:.
  const bool named = name.length > 0 && ![name hasPrefix:@"."];
  UIFont* font = named ? [UIFont fontWithName:name size:pointSize] : nil;
  asLabel(label).font = font ? font : [UIFont systemFontOfSize:pointSize];
}

void setTextColor(const Object& label, Color color) {
  UIColor* native = (__bridge UIColor*)color::makeUIColor(color).get();
  asLabel(label).textColor = native;
}

void setTextAlignment(const Object& label, std::int64_t alignment) {
  asLabel(label).textAlignment = static_cast<NSTextAlignment>(alignment);
}

void setNumberOfLines(const Object& label, std::int64_t lines) {
  asLabel(label).numberOfLines = static_cast<NSInteger>(lines);
}

}  // namespace gw::native::label
