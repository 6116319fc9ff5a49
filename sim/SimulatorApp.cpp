#include "sim/SimulatorApp.h"

#include <filesystem>
#include <memory>

#include "sim/CommandLine.h"
#include "sim/JsonLinesPrinter.h"
#include "sim/ScenarioParser.h"
#include "sim/SimulationRunner.h"
#include "sim/TextTimelinePrinter.h"
#include "sim/Timeline.h"

namespace sim {
namespace {

constexpr const char* kProgramName = "gyrowhirl-sim";

int badUsage(std::ostream& err, const std::string& message) {
  err << kProgramName << ": " << message << "\n"
      << "Try '" << kProgramName << " --help'.\n";
  return SimulatorApp::kExitBadInput;
}

int exitStatusOf(const SimulationRunner::Outcome& outcome, std::ostream& err) {
  switch (outcome.status) {
    case SimulationRunner::Status::Done:
      return SimulatorApp::kExitSuccess;
    case SimulationRunner::Status::BadInput:
      err << outcome.message << "\n";
      return SimulatorApp::kExitBadInput;
    case SimulationRunner::Status::Failed:
      err << kProgramName << ": " << outcome.message << "\n";
      return SimulatorApp::kExitFailure;
  }
  return SimulatorApp::kExitFailure;
}

}  // namespace

std::optional<std::string> SimulatorApp::showcaseScenarioPath() {
  const std::filesystem::path path =
      std::filesystem::path(GW_SOURCE_DIR) / "examples" / "showcase.scn";
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) return path.string();
  return std::nullopt;
}

int SimulatorApp::main(const std::vector<std::string>& arguments, std::ostream& out,
                       std::ostream& err) {
  CommandLine::Result parsed = CommandLine::parse(arguments);
  if (!parsed.options) return badUsage(err, parsed.error);
  CommandLineOptions options = *parsed.options;

  using Command = CommandLineOptions::Command;
  if (options.command == Command::Help) {
    out << CommandLine::usage();
    return kExitSuccess;
  }
  if (options.command == Command::Showcase) {
    // The showcase is the project's story told on the simulated phone; without it, running
    // with no command is a usage error.
    std::optional<std::string> showcase = showcaseScenarioPath();
    if (!showcase) {
      err << CommandLine::usage();
      return kExitBadInput;
    }
    options.command = Command::Run;
    options.scenarioPath = *showcase;
  }
  if (options.deviceRoot) {
    std::error_code error;
    if (std::filesystem::exists(*options.deviceRoot, error) &&
        !std::filesystem::is_directory(*options.deviceRoot, error)) {
      return badUsage(err, "--device-root: '" + *options.deviceRoot + "' is not a folder");
    }
  }

  std::optional<Scenario> scenario;
  if (!options.scenarioPath.empty()) {
    ScenarioParser::Result result = ScenarioParser::parseFile(options.scenarioPath);
    if (!result.ok()) {
      err << result.error << "\n";
      return kExitBadInput;
    }
    scenario = std::move(result.scenario);
  }

  std::unique_ptr<TimelinePrinter> printer;
  if (options.jsonLines) {
    printer = std::make_unique<JsonLinesPrinter>(out);
  } else {
    printer = std::make_unique<TextTimelinePrinter>(out);
  }
  Timeline timeline(std::move(printer));
  SimulationOptions simulation;
  if (options.deviceRoot) simulation.deviceRoot = std::filesystem::path(*options.deviceRoot);
  simulation.logLines = options.log;
  SimulationRunner runner(simulation, timeline);

  if (options.command == Command::Run) return exitStatusOf(runner.run(*scenario), err);
  return exitStatusOf(runner.replay(options.tracePath, scenario ? &*scenario : nullptr), err);
}

}  // namespace sim
