// The simulator's command line: which command and options a list of arguments means, and the
// message for one that means nothing.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "sim/app/CommandLine.h"

namespace sim {
namespace {

using Command = CommandLineOptions::Command;

TEST(CommandLineTest, CommandsAndTheirOptions) {
  struct Case {
    std::vector<std::string> arguments;
    Command command;
    std::string scenario;
    std::string trace;
    std::string render;  // "" for none
    std::string output;  // "" for none
    bool noColour;
  };
  const Case cases[] = {
      {{}, Command::Showcase, "", "", "", "", false},
      {{"--render", "pics", "--no-color"}, Command::Showcase, "", "", "pics", "", true},
      {{"run", "a.scn", "--render=out"}, Command::Run, "a.scn", "", "out", "", false},
      {{"--no-colour", "run", "a.scn"}, Command::Run, "a.scn", "", "", "", true},
      {{"replay", "t.csv", "s.scn", "--render", "d"},
       Command::Replay,
       "s.scn",
       "t.csv",
       "d",
       "",
       false},
      {{"plot", "t.csv", "-o", "p.svg"}, Command::Plot, "", "t.csv", "", "p.svg", false},
      {{"plot", "t.csv", "s.scn", "--output=p.png"},
       Command::Plot,
       "s.scn",
       "t.csv",
       "",
       "p.png",
       false},
      {{"help"}, Command::Help, "", "", "", "", false},
      {{"--version"}, Command::Version, "", "", "", "", false},
      {{"run", "a.scn", "--version"}, Command::Version, "", "", "", "", false},
  };
  for (const Case& c : cases) {
    CommandLine::Result result = CommandLine::parse(c.arguments);
    ASSERT_TRUE(result.options) << result.error;
    const CommandLineOptions& options = *result.options;
    EXPECT_EQ(options.command, c.command);
    EXPECT_EQ(options.scenarioPath, c.scenario);
    EXPECT_EQ(options.tracePath, c.trace);
    EXPECT_EQ(options.renderDirectory.value_or(""), c.render);
    EXPECT_EQ(options.outputPath.value_or(""), c.output);
    EXPECT_EQ(options.noColour, c.noColour);
  }
}

TEST(CommandLineTest, ArgumentsThatMeanNothingSayWhy) {
  struct Case {
    std::vector<std::string> arguments;
    const char* error;
  };
  const Case cases[] = {
      {{"plot", "t.csv"}, "plot needs -o FILE.png or -o FILE.svg"},
      {{"plot"}, "plot needs a trace file (CSV)"},
      {{"plot", "t.csv", "a.scn", "b.scn", "-o", "x.png"},
       "plot takes a trace file and at most one scenario"},
      {{"plot", "t.csv", "-o", "x.png", "--render", "d"},
       "plot prints no timeline and draws no frames (--render, --jsonl and --log are for run, "
       "replay and the showcase)"},
      {{"run", "a.scn", "-o", "x.png"}, "-o is for plot"},
      {{"run", "a.scn", "--render"}, "--render needs a folder"},
      {{"run", "a.scn", "--render="}, "--render needs a folder"},
      {{"--render", "a", "--render", "b"}, "--render given twice"},
      {{"plot", "t.csv", "-o"}, "--output needs a file name (.png or .svg)"},
      {{"run", "a.scn", "--colour"}, "unknown option '--colour'"},
      // A mistyped command: the one meant when it is close, else nothing to suggest.
      {{"rnu", "a.scn"}, "unknown command 'rnu'; did you mean 'run'?"},
      {{"replya", "t.csv"}, "unknown command 'replya'; did you mean 'replay'?"},
      {{"plt", "t.csv"}, "unknown command 'plt'; did you mean 'plot'?"},
      {{"hepl"}, "unknown command 'hepl'; did you mean 'help'?"},
      {{"rn"}, "unknown command 'rn'; did you mean 'run'?"},
      {{"go"}, "unknown command 'go'"},
      {{"ran2"}, "unknown command 'ran2'"},
      {{"a.scn"}, "unknown command 'a.scn'"},
  };
  for (const Case& c : cases) {
    CommandLine::Result result = CommandLine::parse(c.arguments);
    EXPECT_FALSE(result.options) << c.error;
    EXPECT_EQ(result.error, c.error);
  }
}

TEST(CommandLineTest, ServeTakesAScenarioAPortAndAnAddress) {
  struct Accepted {
    std::vector<std::string> arguments;
    std::string scenario;
    std::optional<int> port;
    std::optional<std::string> host;
  };
  const Accepted accepted[] = {
      {{"serve"}, "", std::nullopt, std::nullopt},
      {{"serve", "a.scn", "--port", "0"}, "a.scn", 0, std::nullopt},
      {{"serve", "--port=65535", "--host", "0.0.0.0"}, "", 65535, "0.0.0.0"},
  };
  for (const Accepted& c : accepted) {
    CommandLine::Result result = CommandLine::parse(c.arguments);
    ASSERT_TRUE(result.options) << result.error;
    EXPECT_EQ(result.options->command, Command::Serve);
    EXPECT_EQ(result.options->scenarioPath, c.scenario);
    EXPECT_EQ(result.options->port, c.port);
    EXPECT_EQ(result.options->host, c.host);
  }
  struct Refused {
    std::vector<std::string> arguments;
    const char* error;
  };
  const Refused refused[] = {
      {{"serve", "--port", "65536"}, "--port needs a number from 0 to 65535"},
      {{"serve", "--port", "-1"}, "--port needs a number from 0 to 65535"},
      {{"serve", "--port", "8o8o"}, "--port needs a number from 0 to 65535"},
      {{"serve", "--port", "123456"}, "--port needs a number from 0 to 65535"},
      {{"serve", "--port"}, "--port needs a port number"},
      {{"serve", "a.scn", "b.scn"}, "serve takes at most one scenario file"},
      {{"serve", "--jsonl"}, "serve takes only a scenario, --port and --host"},
      {{"run", "a.scn", "--port", "80"}, "--port and --host are for serve"},
      {{"srve"}, "unknown command 'srve'; did you mean 'serve'?"},
  };
  for (const Refused& c : refused) {
    CommandLine::Result result = CommandLine::parse(c.arguments);
    EXPECT_FALSE(result.options) << c.error;
    EXPECT_EQ(result.error, c.error);
  }
}

}  // namespace
}  // namespace sim
