#include "sim/app/SimulatorApp.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <optional>

#include "sim/JsonLinesPrinter.h"
#include "sim/ScenarioParser.h"
#include "sim/ShowcaseScenario.h"
#include "sim/SimulationRunner.h"
#include "sim/TextTimelinePrinter.h"
#include "sim/Timeline.h"
#include "sim/app/CommandLine.h"
#include "sim/app/RunPresenter.h"
#include "sim/pictures/DeviceArtworkPainter.h"
#include "sim/pictures/FrameRecorder.h"
#include "sim/pictures/MotionPlot.h"
#include "sim/pictures/RenderFolder.h"

namespace sim {
namespace {

constexpr const char* kProgramName = "gyrowhirl-sim";
// A replay's frames come at most this often (device time): a trace of hours at a frame per
// visible change would be thousands of pictures of jitter.
constexpr double kReplayFrameIntervalSeconds = 1.0;

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

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A folder named by an option: it may not be a file.
bool isUsableFolder(const std::string& path) {
  std::error_code error;
  return !std::filesystem::exists(path, error) || std::filesystem::is_directory(path, error);
}

}  // namespace

int SimulatorApp::main(const std::vector<std::string>& arguments, std::ostream& out,
                       std::ostream& err) {
  return main(arguments, out, err, Terminal{});
}

int SimulatorApp::main(const std::vector<std::string>& arguments, std::ostream& out,
                       std::ostream& err, const Terminal& terminal) {
  CommandLine::Result parsed = CommandLine::parse(arguments);
  if (!parsed.options) return badUsage(err, parsed.error);
  const CommandLineOptions& options = *parsed.options;

  using Command = CommandLineOptions::Command;
  if (options.command == Command::Help) {
    out << CommandLine::usage();
    return kExitSuccess;
  }
  if (options.command == Command::Version) {
    out << CommandLine::versionLine() << "\n";
    return kExitSuccess;
  }
  if (options.command == Command::Serve) {
    // The web server is a library of its own, which the program's main() hands `serve` to.
    err << kProgramName << ": serve is not available in this program\n";
    return kExitFailure;
  }
  if (options.deviceRoot && !isUsableFolder(*options.deviceRoot)) {
    return badUsage(err, "--device-root: '" + *options.deviceRoot + "' is not a folder");
  }
  if (options.renderDirectory) {
    std::error_code error;
    std::filesystem::create_directories(*options.renderDirectory, error);
    if (!std::filesystem::is_directory(*options.renderDirectory, error)) {
      return badUsage(err, "--render: cannot use '" + *options.renderDirectory + "' as a folder");
    }
    if (RenderFolder::Check folder = RenderFolder::check(*options.renderDirectory);
        !folder.usable) {
      return badUsage(err, "--render: " + folder.problem);
    }
  }
  if (options.outputPath) {
    const std::string extension =
        lowerCase(std::filesystem::path(*options.outputPath).extension().string());
    if (extension != ".png" && extension != ".svg") {
      return badUsage(err, "-o: '" + *options.outputPath + "' must end in .png or .svg");
    }
    // The picture's folder is made as --render makes its own.
    const std::filesystem::path folder = std::filesystem::path(*options.outputPath).parent_path();
    std::error_code error;
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
      return badUsage(err, "-o: cannot use '" + folder.string() + "' as a folder");
    }
  }

  // The scenario: the built-in showcase, a file, or none (a replay's defaults).
  std::optional<Scenario> scenario;
  std::string title;
  if (options.command == Command::Showcase) {
    ScenarioParser::Result result =
        ScenarioParser::parse(ShowcaseScenario::text(), ShowcaseScenario::kFileName);
    if (!result.ok()) {
      err << kProgramName << ": the built-in showcase is broken: " << result.error << "\n";
      return kExitFailure;
    }
    scenario = std::move(result.scenario);
    title = "Gyrowhirl showcase";
  } else if (!options.scenarioPath.empty()) {
    ScenarioParser::Result result = ScenarioParser::parseFile(options.scenarioPath);
    if (!result.ok()) {
      err << result.error << "\n";
      return kExitBadInput;
    }
    scenario = std::move(result.scenario);
  }
  const bool replays = options.command == Command::Replay || options.command == Command::Plot;
  if (title.empty()) {
    title = std::filesystem::path(replays ? options.tracePath : options.scenarioPath)
                .filename()
                .string();
  }

  // What the run prints: JSON Lines, the human timeline, or nothing (plot).
  std::unique_ptr<TimelinePrinter> printer;
  TextTimelinePrinter* text = nullptr;
  if (options.command == Command::Plot) {
    // No timeline: the plot is the output.
  } else if (options.jsonLines) {
    printer = std::make_unique<JsonLinesPrinter>(out);
  } else {
    const bool colour = terminal.stdoutIsTerminal && !terminal.coloursDisabled && !options.noColour;
    auto human = std::make_unique<TextTimelinePrinter>(out, colour);
    text = human.get();
    printer = std::move(human);
  }
  auto presenterOwner = std::make_unique<RunPresenter>(std::move(printer), text);
  RunPresenter& presenter = *presenterOwner;
  if (options.renderDirectory) {
    // The pictures of an earlier run go, so that the folder shows this run alone.
    std::string error;
    if (!RenderFolder::clear(*options.renderDirectory, error)) {
      err << kProgramName << ": --render: " << error << "\n";
      return kExitFailure;
    }
    presenter.renderTo(*options.renderDirectory, replays ? kReplayFrameIntervalSeconds : 0.0);
  }
  if (terminal.stderrIsTerminal) {
    presenter.showProgress(err, replays ? "replaying" : "running", terminal.stdoutIsTerminal);
  }
  if (options.command == Command::Plot) presenter.collectPlotEvents();
  Timeline timeline(std::move(presenterOwner));

  SimulationOptions simulation;
  if (options.deviceRoot) simulation.deviceRoot = std::filesystem::path(*options.deviceRoot);
  simulation.logLines = options.log;
  simulation.artwork = DeviceArtworkPainter::artwork();
  SimulationRunner runner(simulation, timeline);
  runner.setObserver(&presenter);

  const SimulationRunner::Outcome outcome =
      replays ? runner.replay(options.tracePath, scenario ? &*scenario : nullptr)
              : runner.run(*scenario);
  if (int status = exitStatusOf(outcome, err); status != kExitSuccess) return status;

  // Where the pictures are: in the human timeline's output, or beside JSON Lines on stderr.
  std::ostream& note = options.jsonLines ? err : out;
  if (options.renderDirectory) {
    std::string error;
    if (!presenter.finishPictures(title, error)) {
      err << kProgramName << ": cannot write the pictures: " << error << "\n";
      return kExitFailure;
    }
    const std::filesystem::path directory(*options.renderDirectory);
    note << "pictures: " << presenter.frames()->frames().size() << " frames in "
         << directory.string() << ", key frames in "
         << (directory / FrameRecorder::kStoryboardFileName).string() << "\n";
  }
  if (options.command == Command::Plot) {
    PlotOptions plotOptions;
    plotOptions.title = "Motion trace " + title;
    if (!options.scenarioPath.empty()) {
      plotOptions.subtitle =
          "with " + std::filesystem::path(options.scenarioPath).filename().string();
    }
    std::string error;
    if (!MotionPlot::plotTrace(options.tracePath, presenter.plotEvents(), *options.outputPath,
                               plotOptions, error)) {
      err << kProgramName << ": " << error << "\n";
      return kExitFailure;
    }
    out << "plot: " << *options.outputPath << "\n";
  }
  return kExitSuccess;
}

}  // namespace sim
