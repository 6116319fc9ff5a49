// gyrowhirl-trace: writes a synthetic motion trace from a scenario's attitude statements, in
// the columns of the real recordings, for `gyrowhirl-sim replay` and `plot`.
//
//   gyrowhirl-trace SCENARIO -o FILE.csv [--seed N] [--rate HZ]
//
// Exit status: 0 written; 2 bad usage or a bad scenario; 1 the file cannot be written.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "sim/ScenarioParser.h"
#include "sim/TraceSynthesizer.h"

int main(int argc, char** argv) {
  CLI::App app{
      "Writes a synthetic motion trace (CSV, the columns of the real recordings) from a "
      "scenario's attitude and turn statements, with hand sway, tremor and sensor noise.",
      "gyrowhirl-trace"};
  std::string scenarioPath;
  std::string outputPath;
  sim::TraceSynthesizer::Options options;
  app.add_option("SCENARIO", scenarioPath, "the scenario whose attitude statements to follow")
      ->required();
  app.add_option("-o,--output", outputPath, "the trace file to write")->required();
  app.add_option("--seed", options.seed, "seed of the tremor and noise")->capture_default_str();
  app.add_option("--rate", options.rateHz, "samples per second")
      ->capture_default_str()
      ->check(CLI::Range(sim::TraceSynthesizer::kMinRateHz, sim::TraceSynthesizer::kMaxRateHz));
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : 2;
  }

  const sim::ScenarioParser::Result parsed = sim::ScenarioParser::parseFile(scenarioPath);
  if (!parsed.ok()) {
    std::cerr << parsed.error << "\n";
    return 2;
  }
  options.madeFrom = scenarioPath;
  // The whole trace is made first, so that a bad scenario leaves no half-written file.
  std::ostringstream trace;
  std::string error;
  if (!sim::TraceSynthesizer::write(*parsed.scenario, options, trace, error)) {
    std::cerr << scenarioPath << ": " << error << "\n";
    return 2;
  }
  std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
  out << trace.str();
  out.close();
  if (!out) {
    std::cerr << outputPath << ": cannot write\n";
    return 1;
  }
  return 0;
}
