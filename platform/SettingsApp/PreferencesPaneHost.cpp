#include "SettingsApp/PreferencesPaneHost.h"

#include "AltList/ATLApplicationListSubcontrollerController.h"
#include "AltList/ATLApplicationListUser.h"
#include "Device/Device.h"
#include "Device/Process.h"
#include "Foundation/EventValueConversion.h"
#include "Foundation/NSBundle.h"
#include "Preferences/PSListControllerUser.h"
#include "UIKit/UIAlertController.h"
#include "UIKit/UIAlertControllerPresentation.h"

namespace {

void setError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

std::string stringEntry(const Foundation::Dictionary& dictionary, std::string_view key) {
  const Foundation::Value* value = dictionary.find(key);
  return value && value->stringValue() ? *value->stringValue() : std::string();
}

}  // namespace

PreferencesPaneHost::PreferencesPaneHost(std::shared_ptr<Process> settings, std::string bundlePath)
    : settings_(std::move(settings)), bundlePath_(std::move(bundlePath)) {}

PreferencesPaneHost::~PreferencesPaneHost() {
  close();
}

bool PreferencesPaneHost::requireOpen(std::string* error) const {
  if (!settings_ || !settings_->isRunning()) {
    setError(error, "the Settings app is not running");
    return false;
  }
  if (!root_) {
    setError(error, "the settings pane is not open");
    return false;
  }
  return true;
}

bool PreferencesPaneHost::open(std::string* error) {
  close();
  if (!settings_ || !settings_->isRunning()) {
    setError(error, "the Settings app is not running");
    return false;
  }
  ProcessScope scope(*settings_);
  std::shared_ptr<NSBundle> bundle = NSBundle::bundleWithPath(bundlePath_);
  if (!bundle) {
    setError(error, "there is no preference bundle at " + bundlePath_);
    return false;
  }
  const Foundation::Dictionary& info = bundle->infoDictionary();
  const std::string executable = stringEntry(info, "CFBundleExecutable");
  if (!executable.empty() && !settings_->loadLibrary(executable)) {
    setError(error, "the bundle's code '" + executable + "' cannot be loaded");
    return false;
  }
  const std::string principalClass = stringEntry(info, "NSPrincipalClass");
  std::shared_ptr<PSListController> controller =
      PSListController::controllerWithClassName(principalClass);
  if (!controller) {
    setError(error, "the bundle's principal class '" + principalClass + "' is not loaded");
    return false;
  }
  controller->setBundle(bundle);
  root_ = controller;
  root_->specifiers();
  root_->view();
  emitPageIfChanged(/*always=*/true);
  return true;
}

void PreferencesPaneHost::close() {
  if (!root_) return;
  std::shared_ptr<PSListController> closing = std::move(root_);
  root_.reset();
  lastPage_.reset();
  touchedRow_.clear();
  if (settings_ && settings_->isRunning()) {
    ProcessScope scope(*settings_);
    if (closing->presentedViewController()) closing->dismissViewController(false, nullptr);
    closing.reset();  // released inside its process
  }
}

std::vector<PSListControllerUser::Row> PreferencesPaneHost::rows() {
  if (!requireOpen(nullptr)) return {};
  ProcessScope scope(*settings_);
  return PSListControllerUser::rowsShown(*root_);
}

Foundation::Array PreferencesPaneHost::rowsAsValue(
    const std::vector<PSListControllerUser::Row>& rows) {
  Foundation::Array values;
  values.reserve(rows.size());
  for (const auto& row : rows) {
    Foundation::Dictionary entry{{"row", Foundation::Value::string(row.title)}};
    if (!row.value.isNull()) entry.set("value", row.value);
    values.push_back(Foundation::Value::dictionary(std::move(entry)));
  }
  return values;
}

void PreferencesPaneHost::emitPageIfChanged(bool always) {
  if (!root_ || !settings_ || !settings_->isRunning()) return;
  ProcessScope scope(*settings_);
  Foundation::Array page = rowsAsValue(PSListControllerUser::rowsShown(*root_));
  if (!always && lastPage_ && *lastPage_ == page) return;
  lastPage_ = page;
  settings_->device().emit(
      "page", EventFields{{"rows", Foundation::toEventValue(Foundation::Value::array(page))}});
}

bool PreferencesPaneHost::setValue(std::string_view key, const Foundation::Value& value,
                                   std::string* error) {
  if (!requireOpen(error)) return false;
  bool done;
  {
    ProcessScope scope(*settings_);
    done = PSListControllerUser::userChangedValue(*root_, key, value, error);
  }
  if (done) touchedRow_ = std::string(key);
  emitPageIfChanged(false);
  return done;
}

bool PreferencesPaneHost::pressButton(std::string_view label, std::string* error) {
  if (!requireOpen(error)) return false;
  bool done;
  {
    ProcessScope scope(*settings_);
    done = PSListControllerUser::userPressedButton(*root_, label, error);
    if (done) {
      touchedRow_ = std::string(label);
      for (const auto& row : PSListControllerUser::rowsShown(*root_)) {
        if (row.specifier && row.specifier->name() == label) {
          touchedRow_ = row.title;
          break;
        }
      }
    }
  }
  emitPageIfChanged(false);
  return done;
}

bool PreferencesPaneHost::pickApplications(const std::vector<std::string>& bundleIdentifiers,
                                           std::string* error) {
  if (!requireOpen(error)) return false;
  bool done = false;
  {
    ProcessScope scope(*settings_);
    std::shared_ptr<ATLApplicationListSubcontrollerController> picker;
    std::string reason = "the pane shows no application picker";
    for (const auto& row : PSListControllerUser::rowsShown(*root_)) {
      const std::string detail = row.specifier->stringProperty("detail");
      if (detail.empty()) continue;
      if (!std::dynamic_pointer_cast<ATLApplicationListSubcontrollerController>(
              PSListController::controllerWithClassName(detail))) {
        continue;
      }
      std::string name = row.specifier->name();
      if (name.empty()) name = row.specifier->stringProperty("key");
      picker = std::dynamic_pointer_cast<ATLApplicationListSubcontrollerController>(
          PSListControllerUser::userOpenedDetail(*root_, name, &reason));
      if (picker) touchedRow_ = row.title;
      break;
    }
    if (picker) {
      done = ATLApplicationListUser::chooseApplications(*picker, bundleIdentifiers, error);
    } else {
      setError(error, reason);
    }
  }
  emitPageIfChanged(false);
  return done;
}

std::shared_ptr<UIAlertController> PreferencesPaneHost::visibleAlert() const {
  if (!root_) return nullptr;
  return std::dynamic_pointer_cast<UIAlertController>(root_->presentedViewController());
}

bool PreferencesPaneHost::tapAlertAction(std::string_view title, std::string* error) {
  if (!requireOpen(error)) return false;
  std::shared_ptr<UIAlertController> alert = visibleAlert();
  if (!alert) {
    setError(error, "no alert is on screen");
    return false;
  }
  bool done;
  {
    ProcessScope scope(*settings_);
    done = UIAlertControllerPresentation::tapActionWithTitle(*alert, title);
  }
  if (!done) setError(error, "the alert has no action '" + std::string(title) + "'");
  emitPageIfChanged(false);
  return done;
}
