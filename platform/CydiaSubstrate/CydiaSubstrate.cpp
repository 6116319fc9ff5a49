#include "CydiaSubstrate/CydiaSubstrate.h"

void MSHookMessageEx(Class cls, SEL selector, IMP replacement, IMP* result) {
  if (result) *result = nullptr;
  if (!cls) return;
  if (result) *result = cls->methodForSelector(selector);
  // A new method keeps the generic signature: only the untyped accessors can reach it.
  auto signature = cls->signatureForSelector(selector).value_or(std::type_index(typeid(void())));
  cls->setMethod(selector, replacement, signature);
}
