#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"
#include "Device/Process.h"
#include "Foundation/NSNotificationCenter.h"
#include "support/ScopedTestDevice.h"

namespace {

// ---- initialisers declared by a library linked into this binary -----------------------------

const char* const kTestLibrary = "GyrowhirlProcessTestLibrary";

struct InitialiserRun {
  std::string step;
  std::uint64_t pid;
};

std::vector<InitialiserRun>& initialiserRuns() {
  static std::vector<InitialiserRun> runs;
  return runs;
}

void recordRun(const char* step) {
  initialiserRuns().push_back({step, Process::current().pid()});
}
void installHook() {
  recordRun("hook");
}
void resetFrame() {
  recordRun("frame");
}
void readPreferences() {
  recordRun("prefs");
}

// Declared out of order: the order number decides.
GW_LIBRARY_INITIALISER(kTestLibrary, 3, readPreferences);
GW_LIBRARY_INITIALISER(kTestLibrary, 1, installHook);
GW_LIBRARY_INITIALISER(kTestLibrary, 2, resetFrame);

TEST(ProcessTest, LoadingALibraryRunsItsInitialisersInOrderOncePerFreshProcess) {
  ScopedTestDevice device;
  initialiserRuns().clear();
  auto firstPid = device.process().pid();
  ASSERT_TRUE(device.process().loadLibrary(kTestLibrary));
  EXPECT_TRUE(device.process().hasLoadedLibrary(kTestLibrary));
  ASSERT_TRUE(device.process().loadLibrary(kTestLibrary));  // already loaded: nothing again
  ASSERT_EQ(initialiserRuns().size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(initialiserRuns()[i].step, (std::vector<std::string>{"hook", "frame", "prefs"}[i]));
    EXPECT_EQ(initialiserRuns()[i].pid, firstPid) << "run inside the loading process";
  }

  Process& fresh = device.restart();
  EXPECT_NE(fresh.pid(), firstPid);
  EXPECT_FALSE(fresh.hasLoadedLibrary(kTestLibrary));
  ASSERT_TRUE(fresh.loadLibrary(kTestLibrary));
  ASSERT_EQ(initialiserRuns().size(), 6u);
  EXPECT_EQ(initialiserRuns()[3].step, "hook");
  EXPECT_EQ(initialiserRuns()[5].step, "prefs");
  EXPECT_EQ(initialiserRuns()[5].pid, fresh.pid());
}

TEST(ProcessTest, LoadingALibraryThatCannotBeFoundOrOpenedFails) {
  ScopedTestDevice device;
  Process& process = device.process();
  EXPECT_FALSE(process.loadLibrary("NoSuchLibrary")) << "no location";

  std::filesystem::path notALibrary = device.root() / "garbage.dylib";
  std::ofstream(notALibrary) << "not an object file";
  device.device().setLibraryLocation("Garbage", notALibrary);
  EXPECT_FALSE(process.loadLibrary("Garbage"));
  device.device().setLibraryLocation("Missing", device.root() / "missing.dylib");
  EXPECT_FALSE(process.loadLibrary("Missing"));
  EXPECT_FALSE(process.hasLoadedLibrary("Garbage"));
  EXPECT_FALSE(process.hasLoadedLibrary("Missing"));
}

// ---- process-wide state ---------------------------------------------------------------------

struct PreferencesRecord {
  bool firstPostDone = false;
  int reads = 0;
};
const ProcessLocal<PreferencesRecord> preferencesRecord;
const ProcessLocal<std::string> processLabel([] {
  return "label of " + Process::current().name();
});

TEST(ProcessTest, ProcessLocalStateIsPerProcessAndFreshAfterRestart) {
  ScopedTestDevice device;
  preferencesRecord->firstPostDone = true;
  preferencesRecord->reads = 4;
  EXPECT_EQ(*processLabel, "label of SpringBoard");

  auto settings = device.device().launch("Preferences");
  {
    ProcessScope scope(*settings);
    EXPECT_FALSE(preferencesRecord->firstPostDone);
    EXPECT_EQ(*processLabel, "label of Preferences");
    preferencesRecord->reads = 1;
  }
  EXPECT_EQ(preferencesRecord->reads, 4);

  device.restart();
  EXPECT_FALSE(preferencesRecord->firstPostDone) << "a respring starts from initial values";
  EXPECT_EQ(preferencesRecord->reads, 0);
  {
    ProcessScope scope(*settings);
    EXPECT_EQ(preferencesRecord->reads, 1) << "other processes keep theirs";
  }
}

struct TeardownLog {
  std::vector<std::string> entries;
};

// Records its destruction, and tells the process's notification centre, which must still work.
template <int N>
struct Singleton {
  std::shared_ptr<TeardownLog> log;
  ~Singleton() {
    if (!log) return;
    log->entries.push_back(std::to_string(N) + " in " + Process::current().name());
    NSNotificationCenter::defaultCenter().postNotificationName("teardown");
  }
};

template <int N>
const ProcessLocal<Singleton<N>> singleton;

TEST(ProcessTest, ProcessStateIsDestroyedInReverseOrderWithTheProcessCurrent) {
  ScopedTestDevice device;
  auto log = std::make_shared<TeardownLog>();
  auto settings = device.device().launch("Preferences");
  {
    ProcessScope scope(*settings);
    NSNotificationCenter::defaultCenter().addObserver(
        log.get(), [log](const NSNotification&) { log->entries.push_back("notified"); },
        "teardown");
    singleton<1>->log = log;
    singleton<2>->log = log;
    singleton<3>->log = log;
  }
  EXPECT_TRUE(log->entries.empty());
  device.device().terminate("Preferences");
  EXPECT_EQ(log->entries,
            (std::vector<std::string>{"3 in Preferences", "notified", "2 in Preferences",
                                      "notified", "1 in Preferences", "notified"}));
  EXPECT_EQ(Process::current().name(), "SpringBoard") << "the scope is restored";
}

struct RecordingService : ProcessService {
  std::shared_ptr<TeardownLog> log;
  std::string name;
  void endProcess() override {
    if (log) log->entries.push_back(name);
  }
};

template <int EndOrder>
const ProcessServiceKind recordingKind{EndOrder, [](Process&) -> std::unique_ptr<ProcessService> {
                                         return std::make_unique<RecordingService>();
                                       }};

// Services end after the process's state is gone, by end order rather than order of making,
// and again in the second pass that follows the dropping of pending tasks.
TEST(ProcessTest, ServicesEndInTheirOrderAfterTheProcessState) {
  ScopedTestDevice device;
  auto log = std::make_shared<TeardownLog>();
  auto settings = device.device().launch("Preferences");
  auto record = [&](const ProcessServiceKind& kind, std::string name) {
    auto& service = static_cast<RecordingService&>(settings->service(kind));
    service.log = log;
    service.name = std::move(name);
  };
  record(recordingKind<7>, "late");
  record(recordingKind<-1>, "early");
  {
    ProcessScope scope(*settings);
    singleton<4>->log = log;
  }
  device.device().terminate("Preferences");
  EXPECT_EQ(log->entries,
            (std::vector<std::string>{"4 in Preferences", "early", "late", "early", "late"}));
}

TEST(ProcessTest, LaunchAndTerminationObserversAndRelaunchUnderTheSameName) {
  ScopedTestDevice device;
  std::vector<std::string> seen;
  device.device().addLaunchObserver([&](Process& p) { seen.push_back("launch " + p.name()); });
  device.device().addTerminationObserver(
      [&](Process& p) { seen.push_back("end " + p.name() + (p.isRunning() ? " (running)" : "")); });
  auto first = device.device().launch("Preferences");
  auto second = device.device().launch("Preferences");  // ends the first
  EXPECT_FALSE(first->isRunning());
  EXPECT_EQ(device.device().process("Preferences"), second);
  device.device().terminate("Preferences");
  device.device().terminate("Preferences");  // nothing left to end
  EXPECT_EQ(seen, (std::vector<std::string>{"launch Preferences", "end Preferences (running)",
                                            "launch Preferences", "end Preferences (running)"}));
  EXPECT_EQ(device.device().process("Preferences"), nullptr);
}

TEST(ProcessTest, WithoutAScopeAThreadGetsAStandaloneProcessCleanedUpAtThreadExit) {
  std::filesystem::path root;
  bool hadCurrent = true;
  std::string name;
  bool rootExisted = false;
  int labelWrites = 0;
  std::thread thread([&] {
    hadCurrent = Process::hasCurrent();
    name = Process::current().name();
    root = Device::current().fileSystem().root();
    rootExisted = std::filesystem::is_directory(root);
    preferencesRecord->reads = 9;
    labelWrites = preferencesRecord->reads;
  });
  thread.join();
  EXPECT_FALSE(hadCurrent);
  EXPECT_EQ(name, "standalone");
  EXPECT_TRUE(rootExisted);
  EXPECT_EQ(labelWrites, 9);
  EXPECT_FALSE(root.empty());
  EXPECT_FALSE(std::filesystem::exists(root)) << "removed when the thread ended";
}

}  // namespace
