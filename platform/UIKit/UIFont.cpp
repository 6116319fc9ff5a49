#include "UIKit/UIFont.h"

std::shared_ptr<UIFont> UIFont::fontWithName(std::string fontName, double pointSize) {
  if (fontName.empty() || !(pointSize > 0)) return nullptr;
  return std::make_shared<UIFont>(std::move(fontName), pointSize);
}

std::shared_ptr<UIFont> UIFont::systemFontOfSize(double pointSize) {
  return std::make_shared<UIFont>(".SFUI-Regular", pointSize > 0 ? pointSize : 17);
}
