// The C++ controller behind one of the bundle's native controllers, as the native side sees
// it: the framework's calls, translated to the controller's virtual functions. Owns the
// controller (the native controller owns the peer).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "native/Preferences/NativeListController.h"

class PSListController;

namespace gw::device {

class ListControllerPeer : public gw::native::preferences::ControllerPeer {
 public:
  explicit ListControllerPeer(std::shared_ptr<PSListController> controller)
      : controller_(std::move(controller)) {}

  std::vector<gw::native::Object> specifiers() override;
  void forgetSpecifiers() override;
  void reloadSpecifiers() override;
  gw::native::Object readPreferenceValue(const gw::native::Object& specifier) override;
  void setPreferenceValue(const gw::native::Object& value,
                          const gw::native::Object& specifier) override;
  void loadView() override;
  bool hasAction(const std::string& name) override;
  void performAction(const std::string& name, const gw::native::Object& specifier) override;
  std::shared_ptr<void> controller() override { return controller_; }

 private:
  std::shared_ptr<PSListController> controller_;
};

}  // namespace gw::device
