// A settings page of the Settings app's preference-pane framework (PSListController), on the
// device: the C++ side of one of the bundle's pages, whose native controller (an instance of
// the bundle's Objective-C class of the same runtime name) the framework makes, owns and
// draws.
//
// The framework asks the native controller for its rows, the value each row shows and
// stores a changed one; those calls reach the virtual functions here, so a subclass's
// overrides take part as they do in the framework. The non-virtual operations and the
// base implementations are the framework's own, on the native controller. The C++
// controller lives as long as its native controller (and as long as the product holds it).
//
// `_specifiers` mirrors the rows the framework shows: a subclass fills it in specifiers(),
// and the framework's row operations below keep it in step.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Foundation/Value.h"
#include "Preferences/PSSpecifier.h"
#include "UIKit/UIViewController.h"
#include "native/NativeObject.h"

class UITableView;

class PSListController : public UIViewController {
 public:
  using SpecifierList = std::vector<std::shared_ptr<PSSpecifier>>;
  // A button row's action; it gets the tapped row.
  using Action = std::function<void(const std::shared_ptr<PSSpecifier>& specifier)>;
  static constexpr const char* kPreferencesFolder = "/var/mobile/Library/Preferences";

  PSListController();
  ~PSListController() override;

  // ---- the row of the parent page that opened this one (if any) -----------------------------
  const std::shared_ptr<PSSpecifier>& specifier() const;
  void setSpecifier(std::shared_ptr<PSSpecifier> specifier);

  // ---- rows ------------------------------------------------------------------------------
  // The rows shown. The base gives `_specifiers` as it is; subclasses fill it on first use.
  virtual const SpecifierList& specifiers();
  // loadSpecifiersFromPlistName:target: — the framework's rows of "<bundle>/<name>.plist",
  // each with `target` as its target.
  SpecifierList loadSpecifiersFromPlistName(std::string_view name,
                                            const std::shared_ptr<PSListController>& target);
  // insertContiguousSpecifiers:afterSpecifier:animated: — puts the rows, in their order,
  // directly after `afterSpecifier`. Rows already on the page are not shown twice; nothing
  // happens when `afterSpecifier` is not on the page.
  void insertContiguousSpecifiers(const SpecifierList& specifiers,
                                  const std::shared_ptr<PSSpecifier>& afterSpecifier,
                                  bool animated);
  // removeContiguousSpecifiers:animated: — takes those of the rows that are on the page off.
  void removeContiguousSpecifiers(const SpecifierList& specifiers, bool animated);
  // reloadSpecifier:animated: — redraws the row, which reads its value again.
  void reloadSpecifier(const std::shared_ptr<PSSpecifier>& specifier, bool animated);
  // reloadSpecifiers — builds the page again: `_specifiers` is emptied and specifiers() asked
  // afresh.
  void reload();

  // ---- view ------------------------------------------------------------------------------
  // The framework's table; then table() gives it.
  void loadView() override;
  // The page's table; null until the view is loaded.
  const std::shared_ptr<UITableView>& table() const { return table_; }

  // ---- values ----------------------------------------------------------------------------
  // readPreferenceValue: — the base is the framework's (the row's entry of its "defaults"
  // domain, else its "default").
  virtual Foundation::Value readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier);
  // setPreferenceValue:specifier: — the base is the framework's (stores the value in the
  // row's domain and posts its "PostNotification").
  virtual void setPreferenceValue(const Foundation::Value& value,
                                  const std::shared_ptr<PSSpecifier>& specifier);

  // ---- actions of button rows --------------------------------------------------------------
  // Registers the action called by rows whose "action" is `name` (e.g. "defaultsettings:"):
  // the framework sends that selector to the row's target, the native controller, which
  // passes it here.
  void registerAction(std::string name, Action action);
  // Runs the action; false when none is registered under that name.
  bool performAction(std::string_view name, const std::shared_ptr<PSSpecifier>& specifier);
  bool hasAction(std::string_view name) const { return actions_.find(name) != actions_.end(); }

  // ---- modal presentation ----------------------------------------------------------------
  // presentViewController:animated:completion: on the native controller.
  void presentViewController(const std::shared_ptr<UIViewController>& controller, bool animated,
                             std::function<void()> completion);
  // dismissViewControllerAnimated:completion:
  void dismissViewController(bool animated, std::function<void()> completion);
  // The controller last presented here while UIKit still shows one; null otherwise.
  const std::shared_ptr<UIViewController>& presentedViewController() const;

  // ---- controller classes ------------------------------------------------------------------
  // Registers `T` (default-constructible) as the C++ controller of the bundle's Objective-C
  // class whose runtime name is `className`: each native controller of that class the
  // framework makes gets a new `T`. Returns false when it cannot.
  template <typename T>
  static bool registerControllerClass(const std::string& className) {
    return registerControllerFactory(className, [] { return std::make_shared<T>(); });
  }

  // ---- the adapter's side ----------------------------------------------------------------
  // A handle on the native controller (which it does not keep alive).
  const gw::native::Object& nativeHandle() const { return handle_; }
  // The C++ controller behind a native controller of the bundle, or null.
  static std::shared_ptr<PSListController> forNativeController(const gw::native::Object& object);
  // Takes the framework's shown rows into `_specifiers` (after it changed them).
  void adoptShownSpecifiers();
  // The framework dropped its rows: the next specifiers() builds them afresh.
  void forgetSpecifiers() { _specifiers.clear(); }

 protected:
  // The rows now shown (the framework's own field, which subclasses fill).
  SpecifierList _specifiers;

 private:
  static bool registerControllerFactory(const std::string& className,
                                        std::function<std::shared_ptr<PSListController>()> make);
  void attach(gw::native::Object handle) { handle_ = std::move(handle); }

  gw::native::Object handle_;
  mutable std::shared_ptr<PSSpecifier> parentSpecifier_;
  std::shared_ptr<UITableView> table_;
  std::map<std::string, Action, std::less<>> actions_;
  mutable std::shared_ptr<UIViewController> presented_;
};
