#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "UIKit/UIColor.h"
#include "sim/JsonLinesPrinter.h"
#include "sim/JsonText.h"
#include "sim/Timeline.h"

namespace sim {
namespace {

using Foundation::Dictionary;
using Foundation::Value;

TEST(TimelineJsonTest, EachLineStartsWithTimeToTheMillisecondAndTheEventName) {
  struct Case {
    TimelineEvent event;
    const char* line;
  };
  const Case cases[] = {
      {{0, "boot", {}}, R"({"t":0.000,"ev":"boot"})"},
      // The sampling timer's ticks are not round numbers of seconds.
      {{0.30000001192092896, "orientation", {{"value", Value::integer(1)}}},
       R"({"t":0.300,"ev":"orientation","value":1})"},
      {{12.3456, "lock", {{"on", Value::boolean(true)}, {"by", Value::string("user")}}},
       R"({"t":12.346,"ev":"lock","on":true,"by":"user"})"},
      {{86399.9996, "lock", {{"on", Value::boolean(false)}, {"by", Value::string("tweak")}}},
       R"({"t":86400.000,"ev":"lock","on":false,"by":"tweak"})"},
      // Fields keep their order.
      {{1,
        "button",
        {{"state", Value::string("shown")},
         {"x", Value::real(150)},
         {"y", Value::real(367.5)},
         {"w", Value::real(75)},
         {"h", Value::real(75)}}},
       R"({"t":1.000,"ev":"button","state":"shown","x":150,"y":367.5,"w":75,"h":75})"},
      // A field may share a name with the line's own keys; both are written, as they always
      // were.
      {{2, "odd\xFF", {{"ev", Value::string("x")}, {"t", Value::real(-0.0)}}},
       "{\"t\":2.000,\"ev\":\"odd\xEF\xBF\xBD\",\"ev\":\"x\",\"t\":-0}"},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonLinesPrinter::format(c.event), c.line);
}

TEST(TimelineJsonTest, StringsAreEscapedAndAlwaysValidUtf8) {
  struct Case {
    std::string text;
    std::string json;
  };
  const Case cases[] = {
      {"plain", R"("plain")"},
      {"quote \" and backslash \\", R"("quote \" and backslash \\")"},
      {"tab\tnewline\nreturn\r", R"("tab\tnewline\nreturn\r")"},
      {std::string("nul\0bell\a", 9), R"("nul\u0000bell\u0007")"},
      {"\x1f\x7f", R"("\u001f\u007f")"},
      {"caf\xC3\xA9 \xE2\x86\x92 \xF0\x9F\x93\xB1",
       "\"caf\xC3\xA9 \xE2\x86\x92 \xF0\x9F\x93\xB1\""},
      // Bytes that are not UTF-8 become U+FFFD, one each.
      {"a\xFF"
       "b\xC3",
       "\"a\xEF\xBF\xBD"
       "b\xEF\xBF\xBD\""},
      // A sequence cut short: one U+FFFD for each of its bytes, as for any other byte.
      {"\xE2\x86x\xE2\x86", "\"\xEF\xBF\xBD\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"</script>", R"("</script>")"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JsonText::dump(JsonText::fromValue(Value::string(c.text))), c.json) << c.json;
    // Keys are held to the same rules.
    Dictionary keyed;
    keyed.set(c.text, Value::integer(1));
    EXPECT_EQ(JsonText::dump(JsonText::fromValue(Value::dictionary(keyed))), "{" + c.json + ":1}");
  }
}

TEST(TimelineJsonTest, TextThatIsNotUtf8InATreeBuiltElsewhereIsReplacedNotThrown) {
  nlohmann::ordered_json json = {{"a\xFF", "b\xC3"}};
  std::string out;
  EXPECT_NO_THROW(out = JsonText::dump(json));
  EXPECT_EQ(out, "{\"a\xEF\xBF\xBD\":\"b\xEF\xBF\xBD\"}");
}

// Real numbers keep the timeline's shortest form where nlohmann's own text differs: whole
// numbers without ".0", the exponent form whenever it is shorter, and the shortest digits
// where its algorithm gives more.
TEST(TimelineJsonTest, RealsAreTheShortestTextThatReadsBackAsTheSameDouble) {
  struct Case {
    double value;
    const char* json;
  };
  const Case cases[] = {
      {150, "150"},
      {-0.0, "-0"},
      {1234567, "1234567"},
      {9007199254740992, "9007199254740992"},
      {123456789012345680.0, "123456789012345680"},
      {100000, "1e+05"},
      {120000, "120000"},
      {1e15, "1e+15"},
      {1e21, "1e+21"},
      {0.001, "0.001"},
      {0.0001, "1e-04"},
      {1e-5, "1e-05"},
      {5e-324, "5e-324"},
      {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
      {4.1752050594835e+78, "4.1752050594835e+78"},
      {-3.484060486691407e+210, "-3.484060486691407e+210"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JsonText::dump(JsonText::fromValue(Value::real(c.value))), c.json) << c.json;
    EXPECT_EQ(JsonText::dump(nlohmann::ordered_json::array({c.value})),
              std::string("[") + c.json + "]");
  }
}

TEST(TimelineJsonTest, ValuesOfEveryKind) {
  Dictionary nested{{"b", Value::integer(2)}, {"a", Value::array({Value::boolean(false)})}};
  struct Case {
    Value value;
    const char* json;
  };
  const Case cases[] = {
      {Value(), "null"},
      {Value::integer(-9007199254740993), "-9007199254740993"},
      {Value::real(0.1), "0.1"},
      {Value::real(100.69999694824219), "100.69999694824219"},
      {Value::real(static_cast<double>(0.3f)), "0.30000001192092896"},
      {Value::real(1e21), "1e+21"},
      {Value::real(-0.0), "-0"},
      {Value::real(std::numeric_limits<double>::quiet_NaN()), "null"},
      {Value::real(std::numeric_limits<double>::infinity()), "null"},
      {Value::dictionary(nested), R"({"b":2,"a":[false]})"},
      {Value::point(CGPointMake(10.5, -3)), "[10.5,-3]"},
      {Value::color(UIColor::colorWithRed(1, 0, 0.5, 0.30000001192092896)),
       "[1,0,0.5,0.30000001192092896]"},
      {Value::data({0x00, 0xFF, 0x10, 0x20}), R"("AP8QIA==")"},
      {Value::date({1.5}), "1.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonText::dump(JsonText::fromValue(c.value)), c.json);
}

TEST(TimelineJsonTest, LinesAreWrittenAsEventsHappen) {
  std::ostringstream jsonOut;
  Timeline json(std::make_unique<JsonLinesPrinter>(jsonOut));
  json.record(0, "boot");
  json.record(1.5, "log", {{"line", Value::string("<VX> a b")}});
  // Written before finish(): a long replay never holds its timeline.
  EXPECT_EQ(jsonOut.str(),
            "{\"t\":0.000,\"ev\":\"boot\"}\n{\"t\":1.500,\"ev\":\"log\",\"line\":\"<VX> a b\"}\n");
  EXPECT_EQ(json.eventCount(), 2u);
}

}  // namespace
}  // namespace sim
