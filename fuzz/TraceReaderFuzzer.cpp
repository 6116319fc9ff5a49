// The simulator's attitude-trace reader on any bytes: never a crash; every sample it gives has
// finite values and a time after the one before; it ends in End or Error and stays there.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "sim/TraceReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
  sim::TraceReader reader(input, "fuzz.csv");
  sim::TraceSample sample;
  sim::TraceReader::Status status;
  double previous = -1;
  std::uint64_t samples = 0;
  while ((status = reader.next(sample)) == sim::TraceReader::Status::Sample) {
    if (!std::isfinite(sample.time) || !std::isfinite(sample.roll) ||
        !std::isfinite(sample.pitch) || sample.time <= previous) {
      __builtin_trap();
    }
    previous = sample.time;
    ++samples;
  }
  if (reader.samplesRead() != samples) __builtin_trap();
  if ((status == sim::TraceReader::Status::Error) == reader.error().empty()) __builtin_trap();
  if (reader.next(sample) != status) __builtin_trap();
  return 0;
}
