// Makes a motion trace from a scenario, as a hand would have recorded it: the phone follows
// the scenario's `attitude`/`turn` statements (each turn takes kTurnSeconds, eased at both
// ends), sways slowly in the hand, trembles with the hand's physiological tremor (8–12 Hz)
// and carries the attitude sensor's noise. The same scenario, seed and rate always give the
// same bytes (the random numbers come from a generator the C++ standard fully specifies).
//
// The trace has the columns of the real recordings (t, qw, qx, qy, qz, roll, pitch,
// gravity_x, gravity_y, gravity_z; 4 decimals), with yaw 0, after `#` comment lines that say
// it is synthetic and how it was made. Other statements of the scenario are ignored; before
// its first attitude statement the phone is held as that statement says.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "sim/Scenario.h"

namespace sim {

class TraceSynthesizer {
 public:
  struct Options {
    std::uint64_t seed = 1;
    double rateHz = 50;    // samples per second
    std::string madeFrom;  // names the scenario in the comment lines
  };

  static constexpr double kTurnSeconds = 0.6;
  static constexpr double kMinRateHz = 1;
  static constexpr double kMaxRateHz = 1000;

  // Writes the trace of the whole scenario, from 0 to its end. False, with what is wrong in
  // `error`, when the scenario has no attitude statement or the rate is out of range.
  static bool write(const Scenario& scenario, const Options& options, std::ostream& out,
                    std::string& error);
};

}  // namespace sim
