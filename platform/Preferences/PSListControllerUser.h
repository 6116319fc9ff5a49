// The simulated user on a settings page, and what observers read of it: the rows shown, a
// value changed, a button pressed, a page opened, and how often the page was redrawn.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Foundation/Value.h"
#include "Preferences/PSListController.h"

class PSListControllerUser {
 public:
  // A row shown: its specifier, its title (the row's "key", else its label) and the value it
  // shows (what readPreferenceValue() gives; null for rows without "key").
  using Row = PSListController::Row;

  // The rows now shown, in order.
  static std::vector<Row> rowsShown(PSListController& page) { return page.rowsShown(); }
  // The user sets the shown row whose "key" is `key` to `value`, as its cell allows: a switch
  // takes a number (as true or false), a slider a number (kept within "min" and "max"), a
  // row with "validValues" one of them, a text field text; a row that opens a page of its
  // own ("detail") and rows without a value take nothing. The page's setPreferenceValue()
  // gets the value. False with a reason in `error` otherwise.
  static bool userChangedValue(PSListController& page, std::string_view key,
                               const Foundation::Value& value, std::string* error = nullptr) {
    return page.userChangedValue(key, value, error);
  }
  // The user taps the shown button row labelled `label`: its action runs.
  static bool userPressedButton(PSListController& page, std::string_view label,
                                std::string* error = nullptr) {
    return page.userPressedButton(label, error);
  }
  // The user taps the shown row labelled (or keyed) `name` that opens a page of its own: the
  // page's controller (its "detail" class) is made, given this page's bundle and the row,
  // and its rows and view are loaded. Null with a reason in `error` when there is none.
  static std::shared_ptr<PSListController> userOpenedDetail(PSListController& page,
                                                            std::string_view name,
                                                            std::string* error = nullptr) {
    return page.userOpenedDetail(name, error);
  }
  // How many times the page was redrawn in part or whole.
  static std::uint64_t redrawCount(const PSListController& page) { return page.redrawCount(); }
};
