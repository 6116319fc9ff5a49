#include "ObjCRuntime/ObjCClass.h"

IMP ObjCClass::methodForSelector(SEL selector) const {
  auto it = methods_.find(selector);
  return it == methods_.end() ? nullptr : it->second.implementation;
}

std::optional<std::type_index> ObjCClass::signatureForSelector(SEL selector) const {
  auto it = methods_.find(selector);
  if (it == methods_.end()) return std::nullopt;
  return it->second.signature;
}

IMP ObjCClass::setMethod(SEL selector, IMP implementation, std::type_index signature) {
  auto it = methods_.find(selector);
  if (it == methods_.end()) {
    methods_.emplace(std::string(selector), Method{implementation, signature});
    return nullptr;
  }
  IMP previous = it->second.implementation;
  it->second.implementation = implementation;
  return previous;
}
