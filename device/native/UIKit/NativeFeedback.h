// UIImpactFeedbackGenerator for the device face.
#pragma once

#include <cstdint>

namespace gw::native::feedback {

// An impact of UIImpactFeedbackStyle `style` from a new generator, prepared first.
void impactOccurred(std::int64_t style);

}  // namespace gw::native::feedback
