// Turns the Settings app's open pane (PreferencesPaneHost) into what DeviceRenderer draws: the
// page (its table view with the header, and its rows as ListRows with the values they show)
// and the alert presented over it.
//
// Wiring, for a runner that keeps the pane's host:
//   renderer.setSettingsPageSource([&host](Device&) { return SettingsPageAdapter::pageOf(host); });
//   renderer.setAlertSource([&host](Device&) { return SettingsPageAdapter::alertsOf(host); });
#pragma once

#include <optional>
#include <vector>

#include "Preferences/PSListControllerUser.h"
#include "sim/pictures/DeviceRenderer.h"

class PreferencesPaneHost;

namespace sim {

class SettingsPageAdapter {
 public:
  // The page shown now, or nullopt while the pane is closed. Reads the rows' values inside
  // the Settings process (the host does), so call it between tasks.
  static std::optional<SettingsPageContent> pageOf(PreferencesPaneHost& host);
  // The alert presented over the page, if any.
  static std::vector<AlertContent> alertsOf(const PreferencesPaneHost& host);

  static ListRow listRow(const PSListControllerUser::Row& row);
};

}  // namespace sim
