#include "gyrowhirlprefs/VXPApplicationsController.h"

#include "Runtime/ProcessStatic.h"

namespace {

void registerControllerClass() {
  PSListController::registerControllerClass<VXPApplicationsController>(
      VXPApplicationsController::kClassName);
}

}  // namespace

// The Settings process learns the bundle's classes when it loads the bundle.
GW_LIBRARY_INITIALISER("gyrowhirlprefs", 0, registerControllerClass);
