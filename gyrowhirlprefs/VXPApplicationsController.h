// The settings pane's application picker: the page that chooses the applications that never
// get a rotation suggestion. All of its behaviour is the application-list library's; the
// bundle declares the class so that its "Root" list can name a controller of its own.
#pragma once

#include "AltList/ATLApplicationListSubcontrollerController.h"

class VXPApplicationsController : public ATLApplicationListSubcontrollerController {
 public:
  static constexpr const char* kClassName = "VXPApplicationsController";
};
