// Reads a scenario file line by line (see ScenarioParser for the language): each line is split
// into words and handed to the statement it starts; setup statements must come before the
// first `at`, and each but `app` and `pref` only once. The first line in error stops it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "sim/Scenario.h"

namespace sim {

class ScenarioLineParser {
 public:
  explicit ScenarioLineParser(std::string fileName);
  ~ScenarioLineParser();
  ScenarioLineParser(const ScenarioLineParser&) = delete;
  ScenarioLineParser& operator=(const ScenarioLineParser&) = delete;

  // One line (without its line end); false with error() set.
  bool parseLine(int lineNumber, std::string_view text);
  // After the last line: checks what needs the whole file; false with error() set.
  bool finish();

  Scenario& scenario();
  // "FILE:LINE: what is wrong".
  const std::string& error() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sim
