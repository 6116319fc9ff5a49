// Wraps CydiaSubstrate's MSHookMessageEx (declared here: the platform ships no header for it),
// with imp_implementationWithBlock for the trampolines.
#include "native/CydiaSubstrate/NativeMessageHook.h"

#import <Foundation/Foundation.h>
#include <objc/runtime.h>

extern "C" void MSHookMessageEx(Class _class, SEL message, IMP hook, IMP* old);

// What a hook replaced: the selector and the previous implementation (null when the method was
// added). MSHookMessageEx stores `original` before it installs the trampoline.
@interface GWSubstrateHook : NSObject {
 @public
  SEL selector;
  IMP original;
}
@end

@implementation GWSubstrateHook
@end

namespace gw::native::substrate {

Object hookObjectMethod(const void* cls, const std::string& selector, ObjectMethod replacement) {
  if (cls == nullptr) return {};
  GWSubstrateHook* hook = [[GWSubstrateHook alloc] init];
  hook->selector = sel_registerName(selector.c_str());
  auto shared = std::make_shared<ObjectMethod>(std::move(replacement));
  IMP trampoline = imp_implementationWithBlock(^(id receiver, id argument) {
    (*shared)(Object::retaining((__bridge const void*)receiver),
              Object::retaining((__bridge const void*)argument));
  });
  hook->original = nullptr;
  MSHookMessageEx((__bridge Class)cls, hook->selector, trampoline, &hook->original);
  return Object::retaining((__bridge const void*)hook);
}

void callOriginal(const Object& hook, const Object& receiver, const Object& argument) {
  if (!hook) return;
  GWSubstrateHook* replaced = (__bridge GWSubstrateHook*)hook.get();
  if (replaced->original == nullptr) return;
  using Implementation = void (*)(id, SEL, id);
  reinterpret_cast<Implementation>(replaced->original)(
      (__bridge id)receiver.get(), replaced->selector, (__bridge id)argument.get());
}

void hookMessage(const void* cls, const std::string& selector, void (*replacement)(),
                 void (**result)()) {
  if (result != nullptr) *result = nullptr;
  if (cls == nullptr) return;
  IMP previous = nullptr;
  MSHookMessageEx((__bridge Class)cls, sel_registerName(selector.c_str()),
                  reinterpret_cast<IMP>(replacement), &previous);
  if (result != nullptr) *result = reinterpret_cast<void (*)()>(previous);
}

}  // namespace gw::native::substrate
