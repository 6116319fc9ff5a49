// A made-up day of a person holding the phone: attitude samples at a fixed rate, mostly upright
// in portrait, turned to landscape every few minutes for a while, lying flat on a table now and
// then, and flat through the night. The same options and seed always give the same samples,
// so a replay of it is repeatable; nothing is held in memory but the current posture.
//
//   SyntheticDayTrace trace({});            // 24 hours at 10 samples a second
//   AttitudeSample sample;
//   while (trace.next(sample)) ...
//
// Postures (radians): portrait roll ≈ 0, pitch ≈ 1.1; landscape |roll| ≈ 1.35 (either side),
// pitch ≈ 0.05; flat roll ≈ 0, pitch ≈ 0.05. Each sample carries a little hand tremor, and a
// change of posture sweeps through the angles in between over kTurnSeconds, as a real turn
// does. The noise is kept small enough that a held posture never leaves its class.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ostream>

struct AttitudeSample {
  double timeSeconds = 0;
  double rollRadians = 0;
  double pitchRadians = 0;
};

class SyntheticDayTrace {
 public:
  enum class Posture { Portrait, Landscape, Flat };

  struct Options {
    double durationSeconds = 24 * 3600.0;
    double sampleIntervalSeconds = 0.1;
    // Portrait spells between turns last this long on average (exponentially distributed,
    // never shorter than kMinPortraitSeconds).
    double meanPortraitSeconds = 240.0;
    double minLandscapeSeconds = 8.0;
    double maxLandscapeSeconds = 90.0;
    // About once an hour the phone is put down on a table for 5-20 minutes.
    double flatSpellProbability = 0.06;
    // The phone lies flat through the night (seconds since the start of the trace).
    double nightStartSeconds = 1 * 3600.0;
    double nightEndSeconds = 7 * 3600.0;
    std::uint64_t seed = 20240601;
  };

  static constexpr double kTurnSeconds = 0.6;
  static constexpr double kMinPortraitSeconds = 30.0;

  explicit SyntheticDayTrace(Options options) : options_(options), state_(options.seed | 1) {
    from_ = to_ = target(Posture::Portrait);
    segmentEnd_ = nextPortraitEnd(0);
  }

  // The next sample; false after the last one (at durationSeconds).
  bool next(AttitudeSample& sample) {
    const double t = static_cast<double>(index_) * options_.sampleIntervalSeconds;
    if (t > options_.durationSeconds) return false;
    ++index_;
    while (t >= segmentEnd_) startNextSegment();
    // Sweep from the last posture to the new one, then hold it with a little tremor.
    const double progress = std::clamp((t - segmentStart_) / kTurnSeconds, 0.0, 1.0);
    sample.timeSeconds = t;
    sample.rollRadians = from_.roll + (to_.roll - from_.roll) * progress + tremor();
    sample.pitchRadians = from_.pitch + (to_.pitch - from_.pitch) * progress + tremor();
    return true;
  }

  Posture posture() const { return posture_; }
  bool isNight(double t) const {
    return t >= options_.nightStartSeconds && t < options_.nightEndSeconds;
  }
  // Turns to landscape begun so far.
  std::uint64_t landscapeTurns() const { return landscapeTurns_; }
  const Options& options() const { return options_; }

  // The whole trace as the simulator's CSV ("t,roll,pitch" and one row per sample).
  static void writeCsv(const Options& options, std::ostream& out) {
    SyntheticDayTrace trace(options);
    AttitudeSample sample;
    out << "t,roll,pitch\n";
    char row[96];
    while (trace.next(sample)) {
      std::snprintf(row, sizeof row, "%.3f,%.4f,%.4f\n", sample.timeSeconds, sample.rollRadians,
                    sample.pitchRadians);
      out << row;
    }
  }

 private:
  struct Angles {
    double roll;
    double pitch;
  };
  static constexpr double kTremorRadians = 0.03;

  Angles target(Posture posture) {
    switch (posture) {
      case Posture::Portrait:
        return {0.0 + 0.1 * (uniform() - 0.5), 1.1 + 0.2 * (uniform() - 0.5)};
      case Posture::Landscape: {
        const double side = uniform() < 0.5 ? -1.0 : 1.0;
        return {side * (1.35 + 0.1 * (uniform() - 0.5)), 0.05 + 0.1 * (uniform() - 0.5)};
      }
      case Posture::Flat:
        break;
    }
    return {0.05 * (uniform() - 0.5), 0.05 + 0.05 * (uniform() - 0.5)};
  }

  void startNextSegment() {
    const double start = segmentEnd_;
    Posture nextPosture = Posture::Portrait;
    double end = 0;
    if (isNight(start)) {
      nextPosture = Posture::Flat;
      end = options_.nightEndSeconds;
    } else if (posture_ == Posture::Portrait) {
      if (uniform() < options_.flatSpellProbability) {
        nextPosture = Posture::Flat;
        end = start + 300.0 + 900.0 * uniform();
      } else {
        nextPosture = Posture::Landscape;
        ++landscapeTurns_;
        end = start + options_.minLandscapeSeconds +
              (options_.maxLandscapeSeconds - options_.minLandscapeSeconds) * uniform();
      }
    } else {
      end = nextPortraitEnd(start);
    }
    // Night begins whatever the person was doing.
    if (start < options_.nightStartSeconds && end > options_.nightStartSeconds) {
      end = options_.nightStartSeconds;
    }
    from_ = to_;
    to_ = target(nextPosture);
    posture_ = nextPosture;
    segmentStart_ = start;
    segmentEnd_ = end;
  }

  double nextPortraitEnd(double start) {
    const double spell = -options_.meanPortraitSeconds * std::log(1.0 - uniform());
    return start + std::max(kMinPortraitSeconds, spell);
  }

  // xorshift64*: fast, and the same on every platform (unlike the standard distributions).
  double uniform() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<double>((state_ * 0x2545F4914F6CDD1DULL) >> 11) * 0x1.0p-53;
  }
  double tremor() { return kTremorRadians * (uniform() + uniform() - 1.0); }

  Options options_;
  std::uint64_t state_;
  std::uint64_t index_ = 0;
  Posture posture_ = Posture::Portrait;
  Angles from_{0, 0};
  Angles to_{0, 0};
  double segmentStart_ = 0;
  double segmentEnd_ = 0;
  std::uint64_t landscapeTurns_ = 0;
};
