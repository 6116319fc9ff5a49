// A home-screen process of its own, for the cross-process tests: the tweak library is loaded
// into it from its file, as the device loads it, on a simulated device rooted in an existing
// folder (shared with the test process),
// and then the floating button's drag is ended COUNT times, at (i, i) for i = 1...COUNT. Each
// drag end runs the preference store's save of the button position, a coordinated
// read-modify-write of the preferences file.
//
//   gw_drag_end_writer ROOT COUNT GATE_FD
//
// The writer starts when GATE_FD (an inherited pipe) reports end of file, so that the test can
// release several writers at once. Before each save it reads the file: the position it saved
// last must be there (no other writer may have put an older file back). Exit status 0 when
// every save landed, 1 when one did not, 2 on bad usage or set-up.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "Device/Device.h"
#include "Device/Process.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSNotificationCenter.h"

namespace {

constexpr const char* kHomeScreenProcess = "SpringBoard";
constexpr const char* kPrefsPath = "/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist";
constexpr const char* kPanEndNotification = "VXFab_Pan_End";
constexpr const char* kOriginKey = "pOtherOrigin";

void waitForGate(int fd) {
  char byte;
  while (::read(fd, &byte, 1) < 0 && errno == EINTR) {
  }
  ::close(fd);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s ROOT COUNT GATE_FD\n", argv[0]);
    return 2;
  }
  const int count = std::atoi(argv[2]);
  const int gate = std::atoi(argv[3]);
  std::shared_ptr<Device> device = Device::create(argv[1]);
  device->setLibraryLocation("Gyrowhirl", GW_TWEAK_LIBRARY);
  std::shared_ptr<Process> springBoard = device->launch(kHomeScreenProcess);
  ProcessScope scope(*springBoard);
  // The library's start-up reads the file once, which has the store listen for drag ends.
  if (!springBoard->loadLibrary("Gyrowhirl")) {
    std::fprintf(stderr, "the tweak library could not be loaded\n");
    return 2;
  }
  waitForGate(gate);

  // Only this writer stores the position, so before each save the file must hold the one it
  // saved last: any other value means another writer put back an older file and a save was
  // lost. A loss shows at the latest here, before the next save, since nobody else repairs it.
  int lost = 0;
  for (int i = 1; i <= count; ++i) {
    const auto file = NSDictionary::dictionaryWithContentsOfFile(kPrefsPath);
    const Foundation::Value origin = file ? file->valueForKey(kOriginKey) : Foundation::Value();
    const Foundation::Dictionary* point = origin.dictionaryValue();
    const double saved = point ? point->valueForKey("x").doubleValue() : 0.0;
    if (saved != i - 1) {
      std::fprintf(stderr, "before drag end %d the file holds position %g: a save was lost\n", i,
                   saved);
      ++lost;
    }
    const double coordinate = i;
    NSNotificationCenter::defaultCenter().postNotificationName(
        kPanEndNotification, Foundation::Value::point(CGPointMake(coordinate, coordinate)));
  }
  springBoard.reset();
  device->terminate(kHomeScreenProcess);
  return lost == 0 ? 0 : 1;
}
