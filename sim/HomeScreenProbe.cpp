#include "sim/HomeScreenProbe.h"

#include <memory>

#include "Device/Device.h"
#include "Device/Process.h"
#include "Foundation/EventValueConversion.h"
#include "Foundation/NSNotificationCenterSimulation.h"
#include "VXCommon/VXMotionHelper.h"
#include "VXCommon/VXPrefsLoader.h"
#include "sim/OrientationRecorder.h"

namespace sim {
namespace {

// Dropped with the process: the shadow helper's destructor invalidates its timer.
struct ProbeState {
  std::shared_ptr<OrientationRecorder> recorder;
  std::shared_ptr<VXMotionHelper> shadowHelper;
};
const ProcessLocal<ProbeState> probeOfProcess;

}  // namespace

void HomeScreenProbe::install(Device& device) {
  Process& process = Process::current();
  ProbeState& probe = probeOfProcess.get();

  // The observer identity is the probe; the handler needs only the device, which outlives
  // every process on it.
  NSNotificationCenterSimulation::defaultCenterOf(process).addObserver(
      &probe,
      [&device](const NSNotification& notification) {
        const Foundation::Dictionary* entries = notification.object.dictionaryValue();
        device.emit("prefs", EventFields{
                                 {"entries",
                                  entries ? EventValue::record(Foundation::toEventFields(*entries))
                                          : Foundation::toEventValue(notification.object)},
                             });
      },
      VXPrefsLoader::kPrefsUpdatedNotification);

  probe.recorder = std::make_shared<OrientationRecorder>(device);
  probe.shadowHelper = VXMotionHelper::initWithDelegate(probe.recorder);
  probe.shadowHelper->run();
}

}  // namespace sim
