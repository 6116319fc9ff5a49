// The tweak library's start-up hook.
#include "SpringBoard/SpringBoard.h"
#include "VXCommon/VXLogger.h"
#include "VXCommon/VXTweakManager.h"
constexpr auto kHook = "_logos_method$_ungrouped$SpringBoard$applicationDidFinishLaunching$";
static void callPreviousDidFinishLaunching(SpringBoard* self, SEL cmd, UIApplication* application);
static void didFinishLaunching(SpringBoard* self, SEL cmd, UIApplication* application) {
  callPreviousDidFinishLaunching(self, cmd, application);  // the home screen's own work first
  VX_LOG(9, kHook, "initializing rotation tweak after respring...");
  VXTweakManager::sharedInstance()->run();
}

#include "CydiaSubstrate/CydiaSubstrate.h"
#include "ObjCRuntime/runtime.h"
#include "Runtime/ProcessStatic.h"

// The implementation the hook replaced, one per process: a respring starts a fresh home-screen
// process whose class is hooked anew when the library is loaded into it.
static const gw::ProcessStatic<SpringBoard::DidFinishLaunchingFunction*> previousImplementation;

static void callPreviousDidFinishLaunching(SpringBoard* self, SEL cmd, UIApplication* application) {
  if (auto* previous = previousImplementation.get()) previous(self, cmd, application);
}

// Start-up initialiser 1 of the library. The library is loaded only into the home-screen
// process; elsewhere there is no class "SpringBoard" and the hook changes nothing.
static void installLaunchHook() {
  MSHookMessageEx(objc_getClass(SpringBoard::kClassName), SpringBoard::kDidFinishLaunchingSelector,
                  &didFinishLaunching, &previousImplementation.get());
}

GW_LIBRARY_INITIALISER("Gyrowhirl", 1, &installLaunchHook);
