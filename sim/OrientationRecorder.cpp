#include "sim/OrientationRecorder.h"

#include "Device/Device.h"

namespace sim {

void OrientationRecorder::orientationChanged(std::uint64_t orientation) {
  device_.emit("orientation",
               EventFields{{"value", EventValue::integer(static_cast<std::int64_t>(orientation))}});
}

}  // namespace sim
