// Every example scenario's timeline, in JSON Lines and in the human form, is part of the
// simulator's public contract: it must stay byte for byte what tests/sim/golden/ holds.
// After a deliberate change of wording or of an example, regenerate the pair with
//   gyrowhirl-sim run examples/NAME.scn --jsonl   > tests/sim/golden/NAME.jsonl
//   gyrowhirl-sim run examples/NAME.scn --no-color > tests/sim/golden/NAME.txt
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "sim/SimBinaryFixture.h"

namespace sim {
namespace {

TEST_F(SimBinaryTest, EveryExampleGivesExactlyItsGoldenTimelineInBothForms) {
  const std::filesystem::path golden = GW_SOURCE_DIR "/tests/sim/golden";
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(GW_SOURCE_DIR "/examples")) {
    if (entry.path().extension() != ".scn") continue;
    ++examples;
    const std::string name = entry.path().stem().string();
    const struct {
      const char* flag;
      const char* extension;
    } forms[] = {{"--jsonl", ".jsonl"}, {"--no-color", ".txt"}};
    for (const auto& form : forms) {
      const std::filesystem::path expected = golden / (name + form.extension);
      ASSERT_TRUE(std::filesystem::exists(expected)) << "no golden timeline " << expected;
      RunResult r = sim({"run", entry.path().string(), form.flag});
      EXPECT_EQ(r.exitStatus, 0) << name << ": " << r.err;
      EXPECT_EQ(r.out, slurp(expected)) << name << " " << form.flag;
    }
  }
  EXPECT_GE(examples, 3);
}

TEST_F(SimBinaryTest, TheBuiltInShowcaseIsExamplesShowcase) {
  const std::filesystem::path golden = GW_SOURCE_DIR "/tests/sim/golden";
  EXPECT_EQ(sim({"--jsonl"}).out, slurp(golden / "showcase.jsonl"));
  EXPECT_EQ(sim({"--no-color"}).out, slurp(golden / "showcase.txt"));
}

}  // namespace
}  // namespace sim
