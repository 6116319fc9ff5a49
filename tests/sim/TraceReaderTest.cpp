#include "sim/TraceReader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/MotionRecordings.h"
#include "support/ReadableTestName.h"

namespace sim {
namespace {

struct ReadAll {
  std::vector<TraceSample> samples;
  std::string error;
};

ReadAll readAll(const std::string& text) {
  std::istringstream in(text);
  TraceReader reader(in, "trace.csv");
  ReadAll result;
  TraceSample sample;
  TraceReader::Status status;
  while ((status = reader.next(sample)) == TraceReader::Status::Sample) {
    result.samples.push_back(sample);
  }
  if (status == TraceReader::Status::Error) result.error = reader.error();
  // Once finished, the reader keeps answering the same.
  EXPECT_EQ(reader.next(sample), status);
  return result;
}

TEST(TraceReaderTest, FindsTheColumnsInAnyOrderAndIgnoresTheOthers) {
  ReadAll r = readAll(
      "qw,pitch,extra,roll,t\n"
      "1,0.5,x,-0.25,0\n"
      "1,1.5,y,1e-3,0.0105\n");
  ASSERT_EQ(r.error, "");
  ASSERT_EQ(r.samples.size(), 2u);
  EXPECT_EQ(r.samples[0].time, 0);
  EXPECT_EQ(r.samples[0].roll, -0.25);
  EXPECT_EQ(r.samples[0].pitch, 0.5);
  EXPECT_EQ(r.samples[1].time, 0.0105);
  EXPECT_EQ(r.samples[1].roll, 0.001);
  EXPECT_EQ(r.samples[1].pitch, 1.5);
}

TEST(TraceReaderTest, ToleratesByteOrderMarkCrLfSpacesQuotesAndBlankLines) {
  ReadAll r = readAll(
      "\xEF\xBB\xBF\"t\", roll ,pitch\r\n"
      "0, \"0.1\" ,0.2\r\n"
      "\r\n"
      "   \n"
      "+1,-0.1,3.1416e-1");  // no newline at the end
  ASSERT_EQ(r.error, "");
  ASSERT_EQ(r.samples.size(), 2u);
  EXPECT_EQ(r.samples[0].roll, 0.1);
  EXPECT_EQ(r.samples[1].time, 1);
  EXPECT_DOUBLE_EQ(r.samples[1].pitch, 0.31416);
}

TEST(TraceReaderTest, SkipsCommentLinesBeforeTheHeaderOnly) {
  ReadAll r = readAll("# synthetic: not a recording\n#\nt,roll,pitch\n0,0.5,1\n");
  ASSERT_EQ(r.error, "");
  ASSERT_EQ(r.samples.size(), 1u);
  EXPECT_EQ(r.samples[0].roll, 0.5);
  EXPECT_EQ(readAll("t,roll,pitch\n0,0,0\n# late\n").error,
            "trace.csv:3: 1 fields, but the header has 3");
  EXPECT_EQ(readAll("# only a comment\n").error,
            "trace.csv:1: empty file: expected a header naming the columns t, roll and pitch");
}

struct BadTrace {
  const char* text;
  const char* error;
};

class TraceReaderErrorTest : public testing::TestWithParam<BadTrace> {};

TEST_P(TraceReaderErrorTest, StopsAtTheFirstProblemWithFileAndLine) {
  EXPECT_EQ(readAll(GetParam().text).error, GetParam().error);
}

const BadTrace kBadTraces[] = {
    {"", "trace.csv:1: empty file: expected a header naming the columns t, roll and pitch"},
    {"t,roll\n0,0\n",
     "trace.csv:1: the header lacks the column 'pitch' (it needs t, roll and pitch)"},
    {"time,roll,pitch\n",
     "trace.csv:1: the header lacks the column 't' (it needs t, roll and pitch)"},
    {"t,roll,pitch,roll\n", "trace.csv:1: the header names the column 'roll' twice"},
    {"t,roll,pitch\n", "trace.csv:1: no samples after the header"},
    {"t,roll,pitch\n\n", "trace.csv:2: no samples after the header"},
    {"t,roll,pitch\n0,0,0\n0.1,abc,0\n", "trace.csv:3: column 'roll': 'abc' is not a number"},
    {"t,roll,pitch\n0,0,\n", "trace.csv:2: column 'pitch': '' is not a number"},
    {"t,roll,pitch\n0,0,nan\n", "trace.csv:2: column 'pitch': 'nan' is not a number"},
    {"t,roll,pitch\n0,0,1.5.2\n", "trace.csv:2: column 'pitch': '1.5.2' is not a number"},
    {"t,roll,pitch\n0,0\n", "trace.csv:2: 2 fields, but the header has 3"},
    {"t,roll,pitch\n0,0,0,0\n", "trace.csv:2: 4 fields, but the header has 3"},
    {"t,roll,pitch\n0,0,0\n1,0,0\n1,0,0\n",
     "trace.csv:4: time 1 is not after the previous sample's time 1 (times must increase)"},
    {"t,roll,pitch\n2,0,0\n1.5,0,0\n",
     "trace.csv:3: time 1.5 is not after the previous sample's time 2 (times must increase)"},
    {"t,roll,pitch\n-0.5,0,0\n", "trace.csv:2: time -0.5 is negative"},
    // Times the virtual clock cannot reach in a run of sensible length.
    {"t,roll,pitch\n0,0,0\n1000000.001,0,0\n",
     "trace.csv:3: time 1000000.001 is beyond the longest run: times up to 1000000 s (about 11.6 "
     "days) expected"},
    {"t,roll,pitch\n1e300,0,0\n",
     "trace.csv:2: time 1e+300 is beyond the longest run: times up to 1000000 s (about 11.6 days) "
     "expected"},
    {"t,roll,pitch\n0,90,0\n",
     "trace.csv:2: roll 90 is out of range: radians from -3.1426 to 3.1426 expected"},
    {"t,roll,pitch\n0,0,-1.58\n",
     "trace.csv:2: pitch -1.58 is out of range: radians from -1.5718 to 1.5718 expected"},
    // A recording cut off in the middle of its last line.
    {"t,roll,pitch\n0,0,0\n0.01,0.2", "trace.csv:3: 2 fields, but the header has 3"},
};

// Named by the message without the file name: "line_3_column_roll_abc_is_not_a_number".
INSTANTIATE_TEST_SUITE_P(Files, TraceReaderErrorTest, testing::ValuesIn(kBadTraces),
                         [](const testing::TestParamInfo<BadTrace>& info) {
                           std::string_view error = info.param.error;
                           error.remove_prefix(std::string_view("trace.csv:").size());
                           return test_support::readableTestName("line " + std::string(error));
                         });

TEST(TraceReaderTest, RefusesAnOverlongLineWithoutReadingItWhole) {
  std::string text = "t,roll,pitch\n0,0,0\n" + std::string(TraceReader::kMaxLineBytes + 10, '1');
  EXPECT_EQ(readAll(text).error, "trace.csv:3: line longer than 65536 bytes");
}

TEST(TraceReaderTest, EchoesOnlyTheStartOfAGarbageField) {
  std::string text = "t,roll,pitch\n0," + std::string(100, 'x') + ",0\n";
  EXPECT_EQ(readAll(text).error,
            "trace.csv:2: column 'roll': '" + std::string(40, 'x') + "...' is not a number");
}

TEST(TraceReaderTest, AFileThatCannotBeOpenedIsNamed) {
  TraceReader reader("/nonexistent/trace.csv");
  TraceSample sample;
  EXPECT_EQ(reader.next(sample), TraceReader::Status::Error);
  EXPECT_EQ(reader.error(), "/nonexistent/trace.csv: cannot read: No such file or directory");
}

TEST(TraceReaderTest, ReadsARealRecordingToTheEnd) {
  GW_NEED_MOTION_RECORDINGS(recordings);
  TraceReader reader((recordings / "tyrex_phoning_thibaud_iphone5_nodist.csv").string());
  TraceSample sample;
  TraceReader::Status status;
  double last = -1;
  while ((status = reader.next(sample)) == TraceReader::Status::Sample) last = sample.time;
  ASSERT_EQ(status, TraceReader::Status::End) << reader.error();
  EXPECT_EQ(reader.samplesRead(), 11788u);
  EXPECT_NEAR(last, 124.4, 0.1);
}

}  // namespace
}  // namespace sim
