#include "sim/SimulationObserver.h"

#include "Device/Device.h"

namespace sim {

void SimulationObserver::advance(Device& device, double time) {
  device.runUntil(time);
}

}  // namespace sim
