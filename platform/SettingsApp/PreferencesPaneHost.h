// The Settings app showing one preference bundle's pane, driven by a person: the entry points
// a simulator (or a test) uses to open the pane, change a row, press a button, pick
// applications, answer an alert and close the pane again.
//
// Opening reads the bundle's Info.plist, loads its executable ("CFBundleExecutable") into the
// Settings process as the device loads a library, makes the principal class's controller
// ("NSPrincipalClass"), and has it load its rows and its view.
//
// Each call runs inside the Settings process. After opening, and after every call that
// changes what the page shows, the device event "page" is emitted with "rows": one
// dictionary per row shown, in order, with "row" (the row's key, else its label) and, for a
// row that shows a value, "value".
//
// An application of the device, not part of the preference-pane framework (Preferences/):
// on a real device the same role is the Settings app itself, so it lives apart from the
// framework the product links against.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Foundation/Value.h"
#include "Preferences/PSListController.h"
#include "Preferences/PSListControllerUser.h"

class Process;
class UIAlertController;

class PreferencesPaneHost {
 public:
  // The process name of the Settings app on the device.
  static constexpr const char* kSettingsProcessName = "Preferences";

  PreferencesPaneHost(std::shared_ptr<Process> settings, std::string bundlePath);
  ~PreferencesPaneHost();
  PreferencesPaneHost(const PreferencesPaneHost&) = delete;
  PreferencesPaneHost& operator=(const PreferencesPaneHost&) = delete;

  // Opens the pane (closing one already open first). False with a reason in `error`.
  bool open(std::string* error = nullptr);
  bool isOpen() const { return root_ != nullptr; }
  // The user leaves the pane: the page and any alert on it go away. Work the controller
  // scheduled itself (its header timer) still runs and keeps it alive until then.
  void close();

  const std::shared_ptr<PSListController>& rootController() const { return root_; }
  // The rows now shown with their values (empty while closed).
  std::vector<PSListControllerUser::Row> rows();
  // The rows in the form of the "page" event.
  static Foundation::Array rowsAsValue(const std::vector<PSListControllerUser::Row>& rows);

  // The user changes the row keyed `key` (see PSListController::userChangedValue).
  bool setValue(std::string_view key, const Foundation::Value& value, std::string* error = nullptr);
  // The user taps the button row labelled `label`.
  bool pressButton(std::string_view label, std::string* error = nullptr);
  // The user opens the application picker row (the first row shown whose page is an
  // application list) and leaves exactly `bundleIdentifiers` chosen.
  bool pickApplications(const std::vector<std::string>& bundleIdentifiers,
                        std::string* error = nullptr);
  // The user taps the action titled `title` of the alert on screen.
  bool tapAlertAction(std::string_view title, std::string* error = nullptr);
  // The alert on screen, or null.
  std::shared_ptr<UIAlertController> visibleAlert() const;
  // The row the user last changed, pressed or opened since the pane opened, named as
  // Row::title names it (its key, else its label); empty when none. The page keeps that row
  // in view, as the user scrolled to reach it.
  const std::string& touchedRow() const { return touchedRow_; }

 private:
  bool requireOpen(std::string* error) const;
  void emitPageIfChanged(bool always);

  std::shared_ptr<Process> settings_;
  std::string bundlePath_;
  std::shared_ptr<PSListController> root_;
  std::optional<Foundation::Array> lastPage_;
  std::string touchedRow_;
};
