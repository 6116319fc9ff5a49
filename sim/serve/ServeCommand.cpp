#include "sim/serve/ServeCommand.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <ctime>
#include <thread>

#include "sim/ScenarioParser.h"
#include "sim/ShowcaseScenario.h"
#include "sim/app/SimulatorApp.h"
#include "sim/serve/LiveServer.h"

namespace sim {
namespace {

// Waits for SIGINT or SIGTERM (blocked in every thread of the program, so that only this
// wait sees them) and stops the server; gives up once `done` is set.
void stopOnSignal(LiveServer& server, const std::atomic<bool>& done, const sigset_t& signals) {
  const timespec interval{0, 200'000'000};
  while (!done) {
    if (sigtimedwait(&signals, nullptr, &interval) > 0) {
      server.stop();
      return;
    }
  }
}

}  // namespace

std::optional<Scenario> ServeCommand::defaultScenario() {
  ScenarioParser::Result parsed =
      ScenarioParser::parse(ShowcaseScenario::text(), ShowcaseScenario::kFileName);
  if (!parsed.ok()) return std::nullopt;
  Scenario scenario = std::move(*parsed.scenario);
  std::erase_if(scenario.actions, [](const TimedAction& timed) { return timed.time > 0; });
  scenario.endTime.reset();
  return scenario;
}

int ServeCommand::main(const CommandLineOptions& options, std::ostream& out, std::ostream& err) {
  LiveServer::Settings settings;
  if (options.scenarioPath.empty()) {
    std::optional<Scenario> scenario = defaultScenario();
    if (!scenario) {
      err << "gyrowhirl-sim: the built-in showcase is broken\n";
      return SimulatorApp::kExitFailure;
    }
    settings.sessions.scenario = std::move(*scenario);
  } else {
    ScenarioParser::Result parsed = ScenarioParser::parseFile(options.scenarioPath);
    if (!parsed.ok()) {
      err << parsed.error << "\n";
      return SimulatorApp::kExitBadInput;
    }
    settings.sessions.scenario = std::move(*parsed.scenario);
  }
  settings.host = options.host.value_or("127.0.0.1");
  settings.port = options.port.value_or(kDefaultPort);

  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  LiveServer server(settings);
  std::string error;
  const int port = server.bind(error);
  if (port < 0) {
    err << "gyrowhirl-sim: serve: " << error << "\n";
    return SimulatorApp::kExitBadInput;
  }
  const bool ipv6 = settings.host.find(':') != std::string::npos;
  out << "gyrowhirl-sim: the simulated phone is at http://"
      << (ipv6 ? "[" + settings.host + "]" : settings.host) << ":" << port << "/ (Ctrl-C stops)"
      << std::endl;
  std::atomic<bool> done = false;
  std::thread watcher([&] { stopOnSignal(server, done, signals); });
  const bool served = server.serve();
  done = true;
  watcher.join();
  if (!served) {
    err << "gyrowhirl-sim: serve: the server stopped unexpectedly\n";
    return SimulatorApp::kExitFailure;
  }
  return SimulatorApp::kExitSuccess;
}

}  // namespace sim
