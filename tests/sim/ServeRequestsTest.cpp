// What a page may send to `serve` is checked before it reaches a device: every malformed,
// mistyped or out-of-range body is refused with a message, and the clock of a live session
// follows wall time as the person sets it.
#include "sim/serve/ServeRequests.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "sim/serve/LiveClock.h"

namespace sim {
namespace {

TEST(ServeRequestsTest, ActionBodiesAreReadOrRefusedWithAMessage) {
  const struct {
    std::string body;
    bool accepted;
    ActionRequest::Kind kind = ActionRequest::Kind::Line;
  } cases[] = {
      {R"({"line":"turn landscape"})", true, ActionRequest::Kind::Line},
      {R"({"tap":[10, 20.5]})", true, ActionRequest::Kind::Tap},
      {R"({"drag":[10, 20, -30, 40]})", true, ActionRequest::Kind::Drag},
      {R"({"tap":[20000, -20000]})", true, ActionRequest::Kind::Tap},
      {R"({"tap":[20000.5, 0]})", false},
      {R"({"tap":[1e400, 0]})", false},
      {R"({"tap":[1]})", false},
      {R"({"tap":["1", 2]})", false},
      {R"({"drag":[1, 2]})", false},
      {R"({"line":3})", false},
      {R"({"line":"tap","tap":[1,2]})", false},
      {R"({"line":"tap","extra":1})", false},
      {R"({})", false},
      {R"(["line"])", false},
      {"", false},
      {"not json", false},
      {R"({"line":"tap")", false},
      {"{\"line\":\"\xff\"}", false},
      {std::string(R"({"line":")") + std::string(kMaxActionLineBytes + 1, 'a') + "\"}", false},
      {std::string(100000, '[') + std::string(100000, ']'), false},
      {R"({"line":"[[[[[[[[[[[[[[[[[[[["})", true, ActionRequest::Kind::Line},
  };
  for (const auto& c : cases) {
    std::string error;
    std::optional<ActionRequest> request = readActionRequest(c.body, error);
    EXPECT_EQ(request.has_value(), c.accepted) << c.body.substr(0, 80) << ": " << error;
    if (request) {
      EXPECT_EQ(request->kind, c.kind);
    } else {
      EXPECT_FALSE(error.empty()) << c.body.substr(0, 80);
    }
  }
}

TEST(ServeRequestsTest, ClockBodiesAndSessionIds) {
  const struct {
    const char* body;
    bool accepted;
  } clocks[] = {
      {R"({"play":true})", true},    {R"({"play":false})", true}, {R"({"play":1})", false},
      {R"({"speed":4})", true},      {R"({"speed":1.0})", true},  {R"({"speed":2})", false},
      {R"({"speed":"4"})", false},   {R"({"step":0.1})", true},   {R"({"step":60})", true},
      {R"({"step":60.001})", false}, {R"({"step":0})", false},    {R"({"step":-1})", false},
      {R"({"pause":true})", false},  {R"({"step":null})", false},
  };
  for (const auto& c : clocks) {
    std::string error;
    EXPECT_EQ(readClockRequest(c.body, error).has_value(), c.accepted) << c.body << ": " << error;
  }
  EXPECT_TRUE(isSessionId("abcdEFGH"));
  EXPECT_TRUE(isSessionId(std::string(64, '_')));
  EXPECT_FALSE(isSessionId("abcdEFG"));
  EXPECT_FALSE(isSessionId(std::string(65, 'a')));
  EXPECT_FALSE(isSessionId("abcd/../x"));
}

TEST(ServeRequestsTest, AnOpenedFileIsATraceOnlyWhenSentAsCsv) {
  const struct {
    const char* contentType;
    bool trace;
  } cases[] = {
      {"text/csv", true},
      {"Text/CSV; charset=utf-8", true},
      {" text/csv ;x=y", true},
      {"text/plain", false},
      {"", false},
      {"text/csvx", false},
      {"text/cs", false},
      {"application/json", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isTraceUpload(c.contentType), c.trace) << c.contentType;
}

TEST(LiveClockTest, FollowsWallTimeAtItsSpeedUntilPaused) {
  LiveClock clock;
  EXPECT_EQ(clock.deviceTime(100), 0);  // starts paused
  clock.play(100);
  EXPECT_DOUBLE_EQ(clock.deviceTime(102.5), 2.5);
  clock.setSpeed(102.5, 4);
  EXPECT_DOUBLE_EQ(clock.deviceTime(103.5), 6.5);
  EXPECT_DOUBLE_EQ(clock.wallTimeFor(10.5, 103.5), 104.5);
  EXPECT_DOUBLE_EQ(clock.wallTimeFor(1, 103.5), 103.5);  // already passed: now
  clock.setSpeed(103.5, 3);                              // not a speed a person may choose
  EXPECT_EQ(clock.speed(), 4);
  clock.pause(104);
  EXPECT_DOUBLE_EQ(clock.deviceTime(200), 8.5);
  EXPECT_TRUE(std::isinf(clock.wallTimeFor(9, 200)));
  clock.step(200, 0.1);
  EXPECT_DOUBLE_EQ(clock.deviceTime(300), 8.6);
  clock.catchUp(300, 9);  // the device ran ahead
  clock.catchUp(300, 1);  // ... and never back
  EXPECT_DOUBLE_EQ(clock.deviceTime(400), 9);
  clock.setSpeed(400, 1);
  clock.play(400);
  EXPECT_DOUBLE_EQ(clock.deviceTime(401), 10);
}

}  // namespace
}  // namespace sim
