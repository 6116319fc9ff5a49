// PNG encoding of a rendered picture with the compression chosen by the caller. cairo's own
// writer compresses hard (zlib's default level, a filter chosen per row), which suits files
// kept on disk; a picture that crosses a loopback connection at once is sent sooner when it is
// compressed lightly. The pixels are the same either way (PNG is lossless), and, as cairo
// writes them, an opaque picture is stored without its alpha channel.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/pictures/DeviceRenderer.h"

namespace sim {

class PngEncoder {
 public:
  // zlib's levels: 0 stores the rows uncompressed, 1 is the fastest that compresses, 9 the
  // smallest. Rows are stored unfiltered below level 2 and with every filter tried above.
  static constexpr int kFastest = 0;
  static constexpr int kFast = 1;

  // `frame` as PNG; empty when it holds no picture or libpng failed.
  static std::vector<std::uint8_t> encode(const RenderedFrame& frame, int zlibLevel);
};

}  // namespace sim
