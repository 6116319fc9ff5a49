// Runs the built gyrowhirl-sim the way people and other checks do, and reads its output.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "Device/TemporaryFolder.h"

namespace sim {

struct RunResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
  std::vector<std::string> lines;  // stdout, line by line
};

inline std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

inline std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted.push_back(c);
    }
  }
  return quoted + "'";
}

class SimBinaryTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.valid()); }

  std::string write(const std::string& name, const std::string& text) {
    std::filesystem::path path = folder_.path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  RunResult sim(const std::vector<std::string>& arguments) {
    std::string command = shellQuoted(GW_SIM_BINARY);
    for (const auto& argument : arguments) command += " " + shellQuoted(argument);
    const auto outPath = folder_.path() / "stdout";
    const auto errPath = folder_.path() / "stderr";
    command += " >" + shellQuoted(outPath.string()) + " 2>" + shellQuoted(errPath.string());
    RunResult result;
    int status = std::system(command.c_str());
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) result.lines.push_back(line);
    return result;
  }

  // The lines of `result` whose event is `ev`.
  static std::vector<std::string> events(const RunResult& result, const std::string& ev) {
    return events(result, std::vector<std::string>{ev});
  }
  // The lines of `result` whose event is one of `evs`, in timeline order.
  static std::vector<std::string> events(const RunResult& result,
                                         std::initializer_list<std::string> evs) {
    return events(result, std::vector<std::string>(evs));
  }
  static std::vector<std::string> events(const RunResult& result,
                                         const std::vector<std::string>& evs) {
    std::vector<std::string> found;
    for (const auto& line : result.lines) {
      for (const auto& ev : evs) {
        if (line.find("\"ev\":\"" + ev + "\"") != std::string::npos) {
          found.push_back(line);
          break;
        }
      }
    }
    return found;
  }

  TemporaryFolder folder_{"gyrowhirl-sim-test-"};
};

}  // namespace sim
