// A settings page of the Settings app's preference-pane framework (PSListController).
//
// The framework draws the page from the controller's `_specifiers`, the rows now shown, in
// order; it asks the controller's readPreferenceValue() for the value each row shows and
// calls setPreferenceValue() when the user changes one. A button row calls the action its
// entry names ("action"), looked up in the controller's action table; a row with a "detail"
// opens the page of that controller class.
//
// The rows' entries come from a specifier list, a property list of the page's bundle
// ("<bundle>/<name>.plist", its "items" array), read by loadSpecifiersFromPlistName().
//
// The user's side of a page (what the Settings app does for a person) is at the end:
// rowsShown(), userChangedValue(), userPressedButton(), userOpenedDetail(). A page and its
// rows belong to the Settings process: call everything with that process current.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Foundation/Value.h"
#include "ObjCRuntime/ObjCClass.h"
#include "ObjCRuntime/ObjCClassRegistry.h"
#include "Preferences/PSSpecifier.h"
#include "UIKit/UIViewController.h"

class NSBundle;
class UITableView;

class PSListController : public UIViewController {
 public:
  using SpecifierList = std::vector<std::shared_ptr<PSSpecifier>>;
  // A button row's action; it gets the tapped row.
  using Action = std::function<void(const std::shared_ptr<PSSpecifier>& specifier)>;
  // How a controller class named in a bundle's Info.plist or in a row's "detail" is made: the
  // class's "new" in the process's class registry.
  using ControllerFactory = std::shared_ptr<PSListController>(Class cls, SEL cmd);
  static constexpr SEL kNewSelector = "new";
  static constexpr const char* kPreferencesFolder = "/var/mobile/Library/Preferences";

  PSListController();
  ~PSListController() override;

  // ---- the page's bundle, and the row of the parent page that opened this one (if any) ----
  const std::shared_ptr<NSBundle>& bundle() const { return bundle_; }
  void setBundle(std::shared_ptr<NSBundle> bundle) { bundle_ = std::move(bundle); }
  const std::shared_ptr<PSSpecifier>& specifier() const { return parentSpecifier_; }
  void setSpecifier(std::shared_ptr<PSSpecifier> specifier) {
    parentSpecifier_ = std::move(specifier);
  }

  // ---- rows ------------------------------------------------------------------------------
  // The rows shown. The base gives `_specifiers` as it is; subclasses fill it on first use.
  virtual const SpecifierList& specifiers();
  // loadSpecifiersFromPlistName:target: — one row per dictionary of the "items" array of
  // "<bundle path>/<name>.plist" (entries that are not dictionaries are skipped), each with
  // `target` as its target. Empty when there is no bundle or no such readable list.
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
  // reload — builds the page again: `_specifiers` is emptied and specifiers() asked afresh,
  // so every row reads its value again and a controller that hides rows by their values
  // decides anew.
  void reload();

  // ---- view ------------------------------------------------------------------------------
  // The page's view is its table, as large as the main screen.
  void loadView() override;
  // The page's table; null until the view is loaded.
  const std::shared_ptr<UITableView>& table() const { return table_; }

  // ---- values ----------------------------------------------------------------------------
  // The value the row shows. The base reads the row's entry "key" from the preferences file
  // of its domain ("/var/mobile/Library/Preferences/<defaults>.plist"), else its "default".
  virtual Foundation::Value readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier);
  // Called when the user changes the row's value. The base stores it in the file of the
  // row's domain (a coordinated read-modify-write keeping every other entry) and then, when
  // that worked, posts the row's "PostNotification" as a Darwin notification.
  virtual void setPreferenceValue(const Foundation::Value& value,
                                  const std::shared_ptr<PSSpecifier>& specifier);

  // ---- actions of button rows --------------------------------------------------------------
  // Registers the action called by rows whose "action" is `name` (e.g. "defaultsettings:").
  void registerAction(std::string name, Action action);
  // Runs the action; false when none is registered under that name.
  bool performAction(std::string_view name, const std::shared_ptr<PSSpecifier>& specifier);

  // ---- modal presentation ----------------------------------------------------------------
  // presentViewController:animated:completion: — shows `controller` over the page (an
  // alert emits its "alert" event). Refused while another controller is presented, as UIKit
  // refuses it. The completion runs afterwards on the main run loop.
  void presentViewController(const std::shared_ptr<UIViewController>& controller, bool animated,
                             std::function<void()> completion);
  // dismissViewControllerAnimated:completion: — takes the presented controller away.
  void dismissViewController(bool animated, std::function<void()> completion);
  const std::shared_ptr<UIViewController>& presentedViewController() const { return presented_; }

  // ---- controller classes ------------------------------------------------------------------
  // Registers `T` (default-constructible) under `className` in the current process's class
  // registry, as loading a bundle adds its classes. Returns false when it cannot.
  template <typename T>
  static bool registerControllerClass(const std::string& className) {
    Class cls = ObjCClassRegistry::current().registerClass(className);
    if (!cls) return false;
    cls->addMethod(kNewSelector, &makeController<T>);
    return true;
  }
  // A new controller of the class named `className` in the current process, or null.
  static std::shared_ptr<PSListController> controllerWithClassName(std::string_view className);

 protected:
  // The rows now shown (the framework's own field, which subclasses fill).
  SpecifierList _specifiers;

  // The preferences file of a domain, or empty for a domain that names none (empty, or
  // holding "/").
  static std::string preferencesPathForDomain(std::string_view domain);
  // The base's storing: a coordinated read-modify-write of the row's file; true when the
  // file was written. Posts nothing. A file that is there but cannot be read is left as it
  // is; that and every other failure is logged to the system log.
  static bool storeValue(const Foundation::Value& value, const PSSpecifier& specifier);
  // Posts the row's "PostNotification", if it has one.
  static void postNotificationOf(const PSSpecifier& specifier);

 private:
  // The simulated user and observers reach the page through it.
  friend class PSListControllerUser;
  struct Row {
    std::shared_ptr<PSSpecifier> specifier;
    std::string title;        // the row's "key", else its label
    Foundation::Value value;  // what readPreferenceValue() gives; null for rows without "key"
  };
  // The rows now shown, in order, each with the value it shows.
  std::vector<Row> rowsShown();
  // The user sets the shown row whose "key" is `key` to `value`, as its cell allows: a switch
  // takes a number (as true or false), a slider a number (kept within "min" and "max"), a
  // row with "validValues" one of them, a text field text; a row that opens a page of its
  // own ("detail") and rows without a value take nothing. The controller's
  // setPreferenceValue() gets the value. False with a reason in `error` otherwise.
  bool userChangedValue(std::string_view key, const Foundation::Value& value,
                        std::string* error = nullptr);
  // The user taps the shown button row labelled `label`: its action runs.
  bool userPressedButton(std::string_view label, std::string* error = nullptr);
  // The user taps the shown row labelled (or keyed) `name` that opens a page of its own: the
  // page's controller (its "detail" class) is made, given this page's bundle and the row,
  // and its rows and view are loaded. Null with a reason in `error` when there is none.
  std::shared_ptr<PSListController> userOpenedDetail(std::string_view name,
                                                     std::string* error = nullptr);

  // How many times the page was redrawn in part or whole (for observers that watch it).
  std::uint64_t redrawCount() const { return redrawCount_; }

  template <typename T>
  static std::shared_ptr<PSListController> makeController(Class, SEL) {
    return std::make_shared<T>();
  }
  std::shared_ptr<PSSpecifier> shownRowNamed(std::string_view name) const;
  void noteRedraw() { ++redrawCount_; }

  std::shared_ptr<NSBundle> bundle_;
  std::shared_ptr<PSSpecifier> parentSpecifier_;
  std::shared_ptr<UITableView> table_;
  std::map<std::string, Action, std::less<>> actions_;
  std::shared_ptr<UIViewController> presented_;
  std::uint64_t redrawCount_ = 0;
};
