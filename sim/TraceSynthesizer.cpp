#include "sim/TraceSynthesizer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <variant>
#include <vector>

#include "sim/TextUtilities.h"

namespace sim {
namespace {

struct Attitude {
  double roll = 0;
  double pitch = 0;
};

struct Target {
  double time = 0;
  Attitude attitude;
};

// One slow or fast oscillation of one angle; radians, hertz.
struct Wave {
  double amplitude = 0;
  double frequencyHz = 0;
  double phase = 0;
};

// Slow sway of the hand, then the physiological tremor: amplitudes of the order seen in the
// quasi-static real recordings (the phone held still to read: a few hundredths of a radian).
constexpr Wave kRollWaves[] = {
    {0.018, 0.21, 0}, {0.010, 0.43, 0}, {0.0025, 8.7, 0}, {0.0015, 11.3, 0}};
constexpr Wave kPitchWaves[] = {
    {0.015, 0.17, 0}, {0.008, 0.51, 0}, {0.0020, 9.4, 0}, {0.0012, 10.7, 0}};
constexpr double kSensorNoiseRadians = 0.0015;  // standard deviation, each sample and angle

// Uniform in [0, 1) from the top 53 bits, the same on every platform.
double uniform(std::mt19937_64& random) {
  return static_cast<double>(random() >> 11) * 0x1.0p-53;
}

// Standard normal (Box–Muller), again without the implementation-defined distributions.
double normal(std::mt19937_64& random) {
  const double u = 1.0 - uniform(random);  // (0, 1]
  const double v = uniform(random);
  return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
}

double smootherstep(double x) {
  x = std::clamp(x, 0.0, 1.0);
  return x * x * x * (x * (6 * x - 15) + 10);
}

// Where the scenario holds the phone at `t`: each target is reached kTurnSeconds after its
// statement, starting from wherever the phone was when the statement came.
Attitude intended(const std::vector<Target>& targets, double t) {
  Attitude from = targets.front().attitude;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const Target& target = targets[i];
    if (t < target.time) break;
    const double progress = smootherstep((t - target.time) / TraceSynthesizer::kTurnSeconds);
    const bool interrupted = i + 1 < targets.size() && targets[i + 1].time <= t;
    // A turn cut short by the next statement starts the next one from where it got to.
    const double reached =
        interrupted
            ? smootherstep((targets[i + 1].time - target.time) / TraceSynthesizer::kTurnSeconds)
            : progress;
    from = {from.roll + (target.attitude.roll - from.roll) * reached,
            from.pitch + (target.attitude.pitch - from.pitch) * reached};
  }
  return from;
}

double waves(const std::vector<Wave>& list, double t) {
  double sum = 0;
  for (const Wave& wave : list) {
    sum += wave.amplitude * std::sin(2 * std::numbers::pi * wave.frequencyHz * t + wave.phase);
  }
  return sum;
}

std::vector<Wave> withRandomPhases(const Wave (&list)[4], std::mt19937_64& random) {
  std::vector<Wave> result(std::begin(list), std::end(list));
  for (Wave& wave : result) wave.phase = 2 * std::numbers::pi * uniform(random);
  return result;
}

}  // namespace

bool TraceSynthesizer::write(const Scenario& scenario, const Options& options, std::ostream& out,
                             std::string& error) {
  if (!(options.rateHz >= kMinRateHz && options.rateHz <= kMaxRateHz)) {
    error = "the rate must be from " + formatShortest(kMinRateHz) + " to " +
            formatShortest(kMaxRateHz) + " samples a second";
    return false;
  }
  std::vector<Target> targets;
  for (const TimedAction& timed : scenario.actions) {
    if (const auto* attitude = std::get_if<AttitudeAction>(&timed.action)) {
      targets.push_back({timed.time, {attitude->roll, attitude->pitch}});
    }
  }
  if (targets.empty()) {
    error = "the scenario holds the phone nowhere: it needs 'attitude' or 'turn' statements";
    return false;
  }

  std::mt19937_64 random(options.seed);
  const std::vector<Wave> rollWaves = withRandomPhases(kRollWaves, random);
  const std::vector<Wave> pitchWaves = withRandomPhases(kPitchWaves, random);

  out << "# synthetic: not a recording. Made by gyrowhirl-trace";
  if (!options.madeFrom.empty()) out << " from " << options.madeFrom;
  out << " (seed " << options.seed << ", " << formatShortest(options.rateHz)
      << " Hz): scripted turns, hand sway and tremor, sensor noise\n";
  out << "t,qw,qx,qy,qz,roll,pitch,gravity_x,gravity_y,gravity_z\n";

  const double end = scenario.effectiveEndTime();
  const double interval = 1.0 / options.rateHz;
  for (std::uint64_t k = 0;; ++k) {
    const double t = static_cast<double>(k) * interval;
    if (t > end) break;
    const Attitude aim = intended(targets, t);
    const double roll =
        std::clamp(aim.roll + waves(rollWaves, t) + kSensorNoiseRadians * normal(random),
                   -std::numbers::pi, std::numbers::pi);
    const double pitch =
        std::clamp(aim.pitch + waves(pitchWaves, t) + kSensorNoiseRadians * normal(random),
                   -std::numbers::pi / 2, std::numbers::pi / 2);
    // The attitude as a quaternion, yaw 0: a turn by the pitch about the device's x axis, then
    // by the roll about its y axis. Its gravity is (sin r·cos p, −sin p, −cos r·cos p).
    const double cp = std::cos(pitch / 2), sp = std::sin(pitch / 2);
    const double cr = std::cos(roll / 2), sr = std::sin(roll / 2);
    const double qw = cp * cr, qx = sp * cr, qy = cp * sr, qz = sp * sr;
    const double gx = 2 * (qw * qy - qx * qz);
    const double gy = -2 * (qy * qz + qw * qx);
    const double gz = -(1 - 2 * (qx * qx + qy * qy));
    out << formatFixed(t, 4);
    for (double value : {qw, qx, qy, qz, roll, pitch, gx, gy, gz}) {
      // No "-0.0000": the recordings never write one.
      out << ',' << formatFixed(std::abs(value) < 0.00005 ? 0.0 : value, 4);
    }
    out << '\n';
  }
  if (!out) {
    error = "cannot write the trace";
    return false;
  }
  return true;
}

}  // namespace sim
