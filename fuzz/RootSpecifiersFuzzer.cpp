// The settings pane's root page on any "Root" specifier list: the input's last bytes choose the
// stored switch values and a few switch changes, the rest is the "Root.plist" resource itself.
// The page loads the list, leaves out the rows of switched-off groups, and then the user flips
// some of the switches shown. After the load and after every change the rows shown must be
// exactly the full list without the rows governed by a head that is off (a head governs the
// "nestedEntryCount" rows after it, cut at the end of the list), in the full list's order.
// (A head that is not a switch, and a value changed through another row with the same key,
// update the page only when it is built again; the changes made here leave those alone.)
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "Device/DeviceFileSystem.h"
#include "Foundation/NSBundle.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/PropertyList.h"
#include "FuzzDevice.h"
#include "SettingsApp/PreferencesPaneHost.h"
#include "gyrowhirlprefs/VXPRootListController.h"

namespace {

constexpr const char* kBundlePath = "/Library/PreferenceBundles/gyrowhirlprefs.bundle";
constexpr const char* kRootPath = "/Library/PreferenceBundles/gyrowhirlprefs.bundle/Root.plist";
constexpr const char* kPrefsPath = VXPRootListController::kPreferencesFilePath;
constexpr int kMaxChanges = 6;

FuzzDevice* device = nullptr;

// The rows that should be shown: every row of the full list that no head which is off governs.
std::vector<std::shared_ptr<PSSpecifier>> expectedRows(VXPRootListController& controller) {
  const auto& all = controller.allSpecifiers();
  std::vector<bool> hidden(all.size(), false);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const auto& head = all[i];
    if (!head->properties().contains("nestedEntryCount")) continue;
    // A row listed twice governs from its first place, as the page finds it there.
    if (std::find(all.begin(), all.end(), head) - all.begin() != static_cast<std::ptrdiff_t>(i)) {
      continue;
    }
    const std::int64_t count = head->propertyForKey("nestedEntryCount").intValue();
    if (count <= 0 || controller.readPreferenceValue(head).boolValue()) continue;
    const std::size_t end = i + 1 +
                            static_cast<std::size_t>(std::min<std::int64_t>(
                                count, static_cast<std::int64_t>(all.size() - i - 1)));
    for (std::size_t j = i + 1; j < end; ++j) hidden[j] = true;
  }
  std::vector<std::shared_ptr<PSSpecifier>> rows;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (!hidden[i]) rows.push_back(all[i]);
  }
  return rows;
}

void checkShownRows(VXPRootListController& controller) {
  if (controller.specifiers() != expectedRows(controller)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  device = new FuzzDevice(PreferencesPaneHost::kSettingsProcessName);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::uint64_t storedBits = input.ConsumeIntegral<std::uint64_t>();
  const int changes = input.ConsumeIntegralInRange<int>(0, kMaxChanges);
  std::uint32_t choice = input.ConsumeIntegral<std::uint32_t>();
  const std::vector<std::uint8_t> root = input.ConsumeRemainingBytes<std::uint8_t>();

  DeviceFileSystem& files = device->device().fileSystem();
  files.writeAtomically(kRootPath, root);
  // The stored values: the i-th key of the list gets bit i of storedBits as a boolean.
  Foundation::Dictionary stored;
  if (auto list = Foundation::PropertyList::parseDictionary(root)) {
    if (const Foundation::Array* items = list->valueForKey("items").arrayValue()) {
      std::size_t bit = 0;
      for (const auto& item : *items) {
        const Foundation::Dictionary* entry = item.dictionaryValue();
        const Foundation::Value* key = entry ? entry->find("key") : nullptr;
        if (key && key->stringValue()) {
          stored.set(*key->stringValue(),
                     Foundation::Value::boolean((storedBits >> (bit++ % 64)) & 1));
        }
      }
    }
  }
  NSDictionary::writeToFile(stored, kPrefsPath, true);

  auto controller = std::make_shared<VXPRootListController>();
  controller->setBundle(NSBundle::bundleWithPath(kBundlePath));
  checkShownRows(*controller);

  // Only a switch's own change updates the page, so the switches flipped are those whose key
  // no other row shares: flipping a shared key would change another row's value (perhaps a
  // head that is not a switch), which the page shows only once it is built again. A key
  // holding a NUL cannot be written (the file keeps its old value while the page follows the
  // switch), so those are left alone too.
  std::map<std::string, int> rowsPerKey;
  for (const auto& row : controller->allSpecifiers()) ++rowsPerKey[row->stringProperty("key")];
  for (int change = 0; change < changes; ++change) {
    std::vector<std::shared_ptr<PSSpecifier>> switches;
    for (const auto& row : controller->specifiers()) {
      const std::string key = row->stringProperty("key");
      if (row->cellType() == PSSwitchCell && !key.empty() && rowsPerKey[key] == 1 &&
          key.find('\0') == std::string::npos) {
        switches.push_back(row);
      }
    }
    if (switches.empty()) break;
    const auto& row = switches[choice % switches.size()];
    choice = choice * 2654435761u + 1;
    const bool on = controller->readPreferenceValue(row).boolValue();
    controller->setPreferenceValue(Foundation::Value::boolean(!on), row);
    checkShownRows(*controller);
  }
  files.remove(kPrefsPath);
  return 0;
}
