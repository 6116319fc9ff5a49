// Reading the preferences file and broadcasting it, as every settings change makes the running
// tweak do: a file holding every known setting and 200 blacklisted bundle identifiers, in the
// XML form the settings pane writes and in the binary form, read by readPrefs() with the tweak
// manager, the alert helper and the button class listening. Also the parse alone, for
// comparison.
#include <benchmark/benchmark.h>

#include "CountingAllocator.h"
#include "Device/DeviceFileSystem.h"
#include "Device/Process.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/PropertyList.h"
#include "VXCommon/VXAlertHelper.h"
#include "VXCommon/VXPrefsLoader.h"
#include "VXCommon/VXTweakManager.h"
#include "support/RealisticPreferences.h"
#include "support/WholeSystemReplay.h"

namespace {

enum class FileForm { XML, Binary };

Foundation::Data fileBytes(FileForm form, int blacklisted = 200) {
  const Foundation::Value prefs =
      Foundation::Value::dictionary(test_support::realisticPreferences(blacklisted));
  if (form == FileForm::Binary) return Foundation::PropertyList::toBinary(prefs);
  const std::string xml = Foundation::PropertyList::toXML(prefs);
  return Foundation::Data(xml.begin(), xml.end());
}

void BM_PrefsReadAndBroadcast(benchmark::State& state, FileForm form) {
  WholeSystemReplay replay({});
  if (!replay.boot()) {
    state.SkipWithError("the tweak library did not load");
    return;
  }
  ProcessScope scope(replay.homeScreen());
  const Foundation::Data bytes = fileBytes(form);
  replay.device().fileSystem().writeAtomically(VXPrefsLoader::kPrefsPath, bytes);
  // After the first broadcast every read posts at once, as a settings change does.
  replay.device().runFor(3.0);
  std::size_t broadcasts = 0;
  std::size_t blacklisted = 0;
  NSNotificationCenter::defaultCenter().addObserver(
      &broadcasts,
      [&](const NSNotification& notification) {
        ++broadcasts;
        const Foundation::Dictionary* prefs = notification.object.dictionaryValue();
        const Foundation::Value* apps = prefs ? prefs->find("BlacklistedApps") : nullptr;
        blacklisted = apps && apps->arrayValue() ? apps->arrayValue()->size() : 0;
      },
      VXPrefsLoader::kPrefsUpdatedNotification);
  const std::uint64_t allocationsBefore = CountingAllocator::allocations();
  for (auto _ : state) {
    readPrefs();
  }
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
  state.counters["allocs_per_read"] =
      benchmark::Counter(static_cast<double>(CountingAllocator::allocations() - allocationsBefore) /
                         static_cast<double>(state.iterations()));
  NSNotificationCenter::defaultCenter().removeObserver(&broadcasts);
  if (broadcasts != static_cast<std::size_t>(state.iterations()) || blacklisted != 200) {
    state.SkipWithError("the broadcast did not carry the file");
  }
  if (VXTweakManager::sharedInstance()->blacklistedApps().size() != 200 ||
      VXTweakManager::sharedInstance()->fabDisappearInterval() != 3.0) {
    state.SkipWithError("the tweak manager did not take the file's values");
  }
}
BENCHMARK_CAPTURE(BM_PrefsReadAndBroadcast, xml, FileForm::XML)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PrefsReadAndBroadcast, binary, FileForm::Binary)
    ->Unit(benchmark::kMicrosecond);

// The property-list parse of the same bytes, without file, conversion or broadcast.
void BM_PrefsParseOnly(benchmark::State& state, FileForm form) {
  const Foundation::Data bytes = fileBytes(form);
  for (auto _ : state) {
    auto dictionary = Foundation::PropertyList::parseDictionary(bytes);
    benchmark::DoNotOptimize(dictionary);
  }
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK_CAPTURE(BM_PrefsParseOnly, xml, FileForm::XML)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PrefsParseOnly, binary, FileForm::Binary)->Unit(benchmark::kMicrosecond);

// A blacklist of 100,000 apps (about 3 MB, within the reader's size limits), read at load time
// on the main thread: the parse must stay linear in the number of entries.
constexpr int kLargeBlacklist = 100000;
void BM_PrefsParseLargeBlacklist(benchmark::State& state, FileForm form) {
  const Foundation::Data bytes = fileBytes(form, kLargeBlacklist);
  std::size_t entries = 0;
  for (auto _ : state) {
    auto dictionary = Foundation::PropertyList::parseDictionary(bytes);
    const Foundation::Value* apps =
        dictionary ? dictionary->find("pMultipleChoiceBlacklistedApps") : nullptr;
    entries = apps && apps->arrayValue() ? apps->arrayValue()->size() : 0;
    benchmark::DoNotOptimize(dictionary);
  }
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
  if (entries != static_cast<std::size_t>(kLargeBlacklist)) {
    state.SkipWithError("the blacklist did not come back whole");
  }
}
BENCHMARK_CAPTURE(BM_PrefsParseLargeBlacklist, xml, FileForm::XML)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PrefsParseLargeBlacklist, binary, FileForm::Binary)
    ->Unit(benchmark::kMillisecond);

}  // namespace
