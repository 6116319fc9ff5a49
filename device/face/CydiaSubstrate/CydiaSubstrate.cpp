#include "CydiaSubstrate/CydiaSubstrate.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "SpringBoard/SpringBoard.h"
#include "native/CydiaSubstrate/NativeMessageHook.h"

namespace {

namespace substrate = gw::native::substrate;

// The hook of SpringBoard's applicationDidFinishLaunching: with the face's function type. The
// product's replacement is a plain function and so is the `previous` it is given, so what
// they need lives here, once per process (the home screen hooks it once, at load time).
struct DidFinishLaunchingHook {
  std::mutex mutex;
  SpringBoard::DidFinishLaunchingFunction* replacement = nullptr;
  gw::native::Object hook;
  // The real arguments of the calls in progress, innermost last: `previous` passes them on.
  std::vector<gw::native::Object> applicationsInProgress;
};

DidFinishLaunchingHook& didFinishLaunchingHook() {
  static DidFinishLaunchingHook* const hook = new DidFinishLaunchingHook();
  return *hook;
}

// The `previous` the product gets: the implementation the hook replaced, on the system's
// objects behind the face's.
void callReplacedDidFinishLaunching(SpringBoard* self, SEL, UIApplication*) {
  DidFinishLaunchingHook& state = didFinishLaunchingHook();
  gw::native::Object hook;
  gw::native::Object application;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    hook = state.hook;
    if (!state.applicationsInProgress.empty()) application = state.applicationsInProgress.back();
  }
  if (self == nullptr) return;
  substrate::callOriginal(hook, self->nativeApplication(), application);
}

// The trampoline's C++ side: the receiver becomes the face's SpringBoard; the argument (the
// application object, which is the receiver itself in the home screen) is handed over as the
// same object when it is, else as the process's application object.
void runDidFinishLaunching(const gw::native::Object& receiver,
                           const gw::native::Object& application) {
  DidFinishLaunchingHook& state = didFinishLaunchingHook();
  SpringBoard::DidFinishLaunchingFunction* replacement = nullptr;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    replacement = state.replacement;
    state.applicationsInProgress.push_back(application);
  }
  const auto self = std::make_shared<SpringBoard>(receiver);
  UIApplication* argument = self.get();
  std::shared_ptr<UIApplication> shared;
  if (!(application == receiver)) {
    shared = UIApplication::sharedApplication();
    argument = shared.get();
  }
  if (replacement) {
    replacement(self.get(), SpringBoard::kDidFinishLaunchingSelector, argument);
  } else {
    callReplacedDidFinishLaunching(self.get(), SpringBoard::kDidFinishLaunchingSelector, argument);
  }
  std::lock_guard<std::mutex> lock(state.mutex);
  state.applicationsInProgress.pop_back();
}

}  // namespace

void MSHookMessageEx(Class cls, SEL selector, IMP replacement, IMP* result) {
  substrate::hookMessage(cls ? cls->nativeClass() : nullptr, std::string(selector), replacement,
                         result);
}

namespace gw::detail {

bool hookMessageWithSignature(Class cls, SEL selector, std::type_index signature,
                              void (*replacement)(), void (**result)()) {
  if (result) *result = nullptr;
  if (!cls || !replacement) return false;
  if (signature == std::type_index(typeid(SpringBoard::DidFinishLaunchingFunction)) &&
      selector == SpringBoard::kDidFinishLaunchingSelector) {
    DidFinishLaunchingHook& state = didFinishLaunchingHook();
    {
      std::lock_guard<std::mutex> lock(state.mutex);
      state.replacement = reinterpret_cast<SpringBoard::DidFinishLaunchingFunction*>(replacement);
    }
    if (result) *result = reinterpret_cast<void (*)()>(&callReplacedDidFinishLaunching);
    gw::native::Object hook = substrate::hookObjectMethod(cls->nativeClass(), std::string(selector),
                                                          &runDidFinishLaunching);
    std::lock_guard<std::mutex> lock(state.mutex);
    state.hook = std::move(hook);
    return static_cast<bool>(state.hook);
  }
  return false;
}

}  // namespace gw::detail
