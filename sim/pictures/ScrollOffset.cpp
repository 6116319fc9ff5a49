#include "sim/pictures/ScrollOffset.h"

#include <algorithm>

namespace sim {

double scrollOffsetShowing(double top, double bottom, double contentHeight, double viewportHeight,
                           double margin) {
  const double end = std::max(0.0, contentHeight - viewportHeight);
  const double offset = std::min(bottom + margin - viewportHeight, top);
  return std::clamp(offset, 0.0, end);
}

}  // namespace sim
