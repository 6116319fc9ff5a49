#include "VXCommon/VXLogger.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Foundation::Dictionary;
using Foundation::Value;

namespace {

class VXLoggerTest : public ::testing::Test {
 protected:
  VXLoggerTest() {
    VXLogger::setSinkForTesting([this](std::string_view line) { lines_.emplace_back(line); });
  }
  ~VXLoggerTest() override { VXLogger::setSinkForTesting(nullptr); }

  std::vector<std::string> lines_;
};

TEST_F(VXLoggerTest, RecordComposesTaggedLine) {
  VXLogger::logWithFormatArgs(VXLogger::makeRecord("/src/gyrowhirl/VXCommon/VXTweakManager.mm", 49,
                                                   "-[VXTweakManager init]",
                                                   "VXTweakManager initialized"));
  EXPECT_EQ(lines_,
            (std::vector<std::string>{
                "<VX> VXTweakManager.mm:49 -[VXTweakManager init] VXTweakManager initialized"}));
}

TEST_F(VXLoggerTest, RecordHoldsTheFourEntries) {
  const Dictionary record = VXLogger::makeRecord("a/b/Tweak.xm", 9, "f", "msg");
  EXPECT_EQ(record.keys(), (std::vector<std::string>{"file", "line", "function", "fmt"}));
  EXPECT_EQ(record.valueForKey("file"), Value::string("Tweak.xm"));
  EXPECT_EQ(record.valueForKey("line"), Value::integer(9));
  EXPECT_EQ(VXLogger::makeRecord("Tweak.xm", 1, "f", "").valueForKey("file"),
            Value::string("Tweak.xm"));
}

TEST_F(VXLoggerTest, MacroRecordsThisFileAndTheGivenLine) {
  // The record carries the given line, not the line the call is written on.
  const char* const function = "-[VXTweakManager shouldQuit]";
  VX_LOG(135, function, "quiting state: disabled %d, locked %d, topapp %d", 0, true, 1);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_EQ(lines_[0],
            "<VX> VXLoggerTest.cpp:135 -[VXTweakManager shouldQuit] quiting state: disabled 0, "
            "locked 1, topapp 1");
}

TEST_F(VXLoggerTest, PercentSignsAreNeverFormats) {
  VXLogger::logWithFormatArgs(VXLogger::makeRecord("X.mm", 1, "-[X %s%n]", "100% of %d %@ %s %%"));
  VXLogger::print("%s%s%n");
  VX_LOG(7, "f", "error %@", std::string("%d%n%s"));
  EXPECT_EQ(lines_, (std::vector<std::string>{
                        "<VX> X.mm:1 -[X %s%n] 100% of %d %@ %s %%",
                        "<VX> %s%s%n",
                        "<VX> VXLoggerTest.cpp:7 f error %d%n%s",
                    }));
}

TEST(VXFormatMessageTest, FillsConversionsByType) {
  const struct {
    const char* format;
    std::vector<std::string> args;
    const char* expected;
  } cases[] = {
      {"plain", {}, "plain"},
      {"%d and %i and %u", {"1", "-2", "3"}, "1 and -2 and 3"},
      {"%ld %lu %lld %llu", {"4", "5", "6", "7"}, "4 5 6 7"},
      {"%s/%@/%f", {"a", "b", "0.5"}, "a/b/0.5"},
      {"100%%", {}, "100%"},
      {"%d %d", {"1"}, "1 %d"},         // no argument left: kept as written
      {"%d", {"1", "2"}, "1"},          // extra arguments ignored
      {"%x %5d %", {"1"}, "%x %5d %"},  // unknown conversions kept as written
      {"%@%@", {"%@", "x"}, "%@x"},     // argument text is never scanned
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    std::string out;
    switch (c.args.size()) {
      case 0:
        out = VXFormatMessage(c.format, {});
        break;
      case 1:
        out = VXFormatMessage(c.format, {c.args[0]});
        break;
      case 2:
        out = VXFormatMessage(c.format, {c.args[0], c.args[1]});
        break;
      case 3:
        out = VXFormatMessage(c.format, {c.args[0], c.args[1], c.args[2]});
        break;
      default:
        out = VXFormatMessage(c.format, {c.args[0], c.args[1], c.args[2], c.args[3]});
    }
    EXPECT_EQ(out, c.expected);
  }
  EXPECT_EQ(vx_logger_detail::toText(0.3), "0.3");
  EXPECT_EQ(vx_logger_detail::toText(2.0), "2");
  EXPECT_EQ(vx_logger_detail::toText(static_cast<const char*>(nullptr)), "(null)");
  EXPECT_EQ(vx_logger_detail::toText(Value::integer(7)), "7");
}

TEST_F(VXLoggerTest, PrintTagsTextOrReportsAnEmptyBody) {
  VXLogger::print("hello");
  VXLogger::print(std::nullopt);
  EXPECT_EQ(lines_, (std::vector<std::string>{"<VX> hello", "<VX> received empty body"}));
}

TEST_F(VXLoggerTest, PrintArrayListsElementsWithoutExpandingThem) {
  VXLogger::printArray(
      {Value::string("com.a"), Value::array({Value::integer(1), Value::integer(2)})}, "apps");
  VXLogger::printArray({}, std::nullopt);
  EXPECT_EQ(lines_, (std::vector<std::string>{"<VX> printing apps", "<VX> \t[", "<VX> \tcom.a",
                                              "<VX> \t(\n    1,\n    2\n)", "<VX> \t]", "<VX> \t[",
                                              "<VX> \t]"}));
}

TEST_F(VXLoggerTest, PrintDictWithoutNameOrEntries) {
  VXLogger::printDict({}, std::nullopt);
  EXPECT_EQ(lines_, (std::vector<std::string>{"<VX> {", "<VX> }"}));
}

TEST_F(VXLoggerTest, PrintDictExpandsNestedValuesInOrder) {
  Dictionary dict;
  dict.set("IsEnabled", Value::boolean(true));
  dict.set("Inner", Value::dictionary(Dictionary{{"x", Value::real(1.5)}}));
  dict.set("Apps", Value::array({Value::string("a"), Value::array({Value::string("b")})}));
  dict.set("Origin", Value::point({10, 20}));
  VXLogger::printDict(dict, "prefDict");
  EXPECT_EQ(lines_, (std::vector<std::string>{
                        "<VX> printing prefDict",
                        "<VX> {",
                        "<VX> key: IsEnabled",
                        "<VX> value: 1",
                        "<VX> printing Inner",  // a nested dictionary has no "key:" line
                        "<VX> {",
                        "<VX> key: x",
                        "<VX> value: 1.5",
                        "<VX> }",
                        "<VX> key: Apps",  // a nested array has no "printing" line
                        "<VX> \t[",
                        "<VX> \ta",
                        "<VX> \t(\n    b\n)",  // an array in an array is one element line
                        "<VX> \t]",
                        "<VX> key: Origin",
                        "<VX> value: NSPoint: {10, 20}",
                        "<VX> }",
                    }));
}

TEST(VXLoggerSinkTest, NothingReachesAnyOutputByDefault) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  VX_LOG(139, "readPrefs", "prefs updated...");
  VXLogger::print(std::nullopt);
  VXLogger::printDict({{"k", Value::integer(1)}}, "prefDict");
  VXLogger::printArray({Value::integer(1)}, "a");
  VXLogger::log("raw line");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

  // Restoring the default discards again.
  int seen = 0;
  VXLogger::setSinkForTesting([&](std::string_view) { ++seen; });
  VXLogger::log("watched");
  VXLogger::setSinkForTesting(nullptr);
  VXLogger::log("discarded");
  EXPECT_EQ(seen, 1);
}

}  // namespace
