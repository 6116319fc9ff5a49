// A settings page of the Preferences framework (PSListController), for the face's
// PSListController: the framework's own behaviour, reached on the native controller behind a
// C++ controller, and the peer through which the framework's calls on the bundle's
// controller classes reach the C++ controller.
//
// The face holds its native controller through a handle that does not keep it alive (the
// native controller owns the C++ controller, not the other way round): every call on a
// handle whose controller is gone does nothing and gives an empty result.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "native/NativeObject.h"

namespace gw::native::preferences {

// What the framework's calls on one of the bundle's controllers reach: the C++ controller
// behind it. Made by the face, owned by the native controller and released with it.
class ControllerPeer {
 public:
  virtual ~ControllerPeer() = default;
  // The rows to show (PSSpecifier objects), in order: the C++ controller's specifiers().
  virtual std::vector<Object> specifiers() = 0;
  // The framework dropped the rows it showed: the C++ controller's rows are asked afresh.
  virtual void forgetSpecifiers() = 0;
  // reloadSpecifiers, called by the framework or its subclasses.
  virtual void reloadSpecifiers() = 0;
  virtual Object readPreferenceValue(const Object& specifier) = 0;
  virtual void setPreferenceValue(const Object& value, const Object& specifier) = 0;
  virtual void loadView() = 0;
  // The button action named `name` (a selector's name, "defaultsettings:").
  virtual bool hasAction(const std::string& name) = 0;
  virtual void performAction(const std::string& name, const Object& specifier) = 0;
  // The C++ controller itself, type-erased.
  virtual std::shared_ptr<void> controller() = 0;
};

// Makes the peer for a new native controller, given the handle on it.
using PeerFactory = std::function<std::shared_ptr<ControllerPeer>(const Object& handle)>;
// Each native controller of the bundle's class whose runtime name is `className` gets its
// peer from `factory`, once, when it is made. Returns false for an empty name or factory.
bool registerPeerFactory(const std::string& className, PeerFactory factory);

// The C++ controller behind a native controller (a PSSpecifier's target, say), or null for
// one that is not one of the bundle's.
std::shared_ptr<void> controllerBehind(const Object& nativeController);
// The native controller a handle stands for (a strong reference; empty once it is gone).
Object controllerOf(const Object& handle);

// ---- the framework's behaviour on the controller ---------------------------------------
// loadSpecifiersFromPlistName:target: — `target` is a handle too.
std::vector<Object> loadSpecifiersFromPlistName(const Object& handle, const std::string& name,
                                                const Object& target);
// The rows the framework shows now (its _specifiers).
std::vector<Object> shownSpecifiers(const Object& handle);
void insertContiguousSpecifiers(const Object& handle, const std::vector<Object>& specifiers,
                                const Object& afterSpecifier, bool animated);
void removeContiguousSpecifiers(const Object& handle, const std::vector<Object>& specifiers,
                                bool animated);
void reloadSpecifier(const Object& handle, const Object& specifier, bool animated);
// The framework's own implementations of the methods the bundle's classes override.
std::vector<Object> baseSpecifiers(const Object& handle);
void baseReloadSpecifiers(const Object& handle);
Object baseReadPreferenceValue(const Object& handle, const Object& specifier);
void baseSetPreferenceValue(const Object& handle, const Object& value, const Object& specifier);
void baseLoadView(const Object& handle);
// The page's table view (a UITableView), once the view is loaded.
Object table(const Object& handle);
// The row of the parent page that opened this page.
Object parentSpecifier(const Object& handle);
void setParentSpecifier(const Object& handle, const Object& specifier);
// presentViewController:animated:completion: / dismissViewControllerAnimated:completion:;
// the completion runs on the main thread when UIKit calls it.
void presentViewController(const Object& handle, const Object& viewController, bool animated,
                           std::function<void()> completion);
void dismissViewController(const Object& handle, bool animated, std::function<void()> completion);
// presentedViewController.
Object presentedViewController(const Object& handle);

}  // namespace gw::native::preferences
