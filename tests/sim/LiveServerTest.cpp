// `serve` over HTTP, as a page and as a hostile client use it: the page and the API answer,
// every malformed, oversized or misdirected request is refused with a 4xx and a message and
// the server goes on working, and a session saved as a scenario runs to the timeline the
// session recorded.
#include "sim/serve/LiveServer.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "sim/ScenarioParser.h"
#include "sim/SimBinaryFixture.h"
#include "sim/serve/ServeRequests.h"

namespace sim {
namespace {

using nlohmann::json;

class LiveServerTest : public SimBinaryTest {
 protected:
  void SetUp() override {
    SimBinaryTest::SetUp();
    ScenarioParser::Result parsed = ScenarioParser::parse(
        "app com.example.reader\n"
        "at 0 boot\n"
        "at 0 front com.example.reader\n"
        "at 0 orientationlock on\n"
        "at 0 turn portrait\n",
        "served.scn");
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    LiveServer::Settings settings;
    settings.port = 0;
    settings.sessions.scenario = *parsed.scenario;
    settings.sessions.maxSessions = 2;
    server_ = std::make_unique<LiveServer>(settings);
    std::string error;
    port_ = server_->bind(error);
    ASSERT_GT(port_, 0) << error;
    thread_ = std::thread([this] { server_->serve(); });
    client_ = std::make_unique<httplib::Client>("127.0.0.1", port_);
    client_->set_read_timeout(30);
  }
  void TearDown() override {
    if (server_) server_->stop();
    if (thread_.joinable()) thread_.join();
    server_.reset();
  }

  // status and body of a POST of `body` to the session's `route`
  std::pair<int, std::string> post(const std::string& route, const std::string& body,
                                   const std::string& session = "session-one") {
    auto res =
        client_->Post(("/api/session/" + session + "/" + route).c_str(), body, "application/json");
    if (!res) return {-1, ""};
    return {res->status, res->body};
  }
  std::pair<int, std::string> get(const std::string& path) {
    auto res = client_->Get(path.c_str());
    if (!res) return {-1, ""};
    return {res->status, res->body};
  }

  std::unique_ptr<LiveServer> server_;
  std::thread thread_;
  int port_ = 0;
  std::unique_ptr<httplib::Client> client_;
};

TEST_F(LiveServerTest, RefusesWhatIsMalformedAndGoesOnWorking) {
  EXPECT_EQ(post("clock", R"({"play":false})").first, 200);
  const struct {
    std::string path;
    std::string body;  // GET when empty
    int status;
  } cases[] = {
      {"/api/session/session-one/action", "not json", 400},
      {"/api/session/session-one/action", R"({"line":"launch /bin/sh"})", 400},
      {"/api/session/session-one/action", R"({"line":"front ../../etc/passwd"})", 400},
      {"/api/session/session-one/action", R"({"tap":[0,0]})", 400},       // off the screen
      {"/api/session/session-one/action", R"({"drag":[0,0,5,5]})", 400},  // not on the button
      {"/api/session/session-one/action", std::string(kMaxRequestBodyBytes + 1, ' '), 413},
      {"/api/session/session-one/clock", R"({"speed":1000})", 400},
      {"/api/session/session-one/open", "at 0 nonsense\n", 400},
      {"/api/session/session-one/events?after=x", "", 400},
      {"/api/session/short/events", "", 404},
      {"/api/session/session-one/../../../etc/passwd", "", 404},
      {"/nothing", "", 404},
  };
  for (const auto& c : cases) {
    auto res = c.body.empty() ? client_->Get(c.path.c_str())
                              : client_->Post(c.path.c_str(), c.body, "application/json");
    ASSERT_TRUE(res) << c.path;
    EXPECT_EQ(res->status, c.status) << c.path << " " << c.body.substr(0, 60);
    json reply = json::parse(res->body, nullptr, false);
    ASSERT_TRUE(reply.is_object()) << res->body;
    EXPECT_TRUE(reply["error"].is_string() && !reply["error"].get<std::string>().empty())
        << res->body;
  }
  // A third page finds no room; the two it allows still work.
  EXPECT_EQ(post("clock", R"({"play":false})", "session-two").first, 200);
  auto third = post("clock", R"({"play":false})", "session-three");
  EXPECT_EQ(third.first, 429) << third.second;
  EXPECT_EQ(post("action", R"({"line":"turn landscape"})").first, 200);
  EXPECT_EQ(post("clock", R"({"step":1})").first, 200);
  auto events = get("/api/session/session-one/events?after=0&picture=0");
  ASSERT_EQ(events.first, 200);
  EXPECT_NE(events.second.find("button shown at"), std::string::npos) << events.second;
}

TEST_F(LiveServerTest, ServesThePageAndThePhonesPicture) {
  auto page = get("/");
  ASSERT_EQ(page.first, 200);
  EXPECT_NE(page.second.find("<script src=\"/app.js\">"), std::string::npos);
  EXPECT_EQ(get("/app.js").first, 200);
  EXPECT_EQ(get("/style.css").first, 200);
  auto picture = client_->Get("/api/session/session-one/picture");
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->status, 200);
  EXPECT_EQ(picture->get_header_value("Content-Type"), "image/png");
  EXPECT_EQ(picture->body.substr(0, 4), "\x89PNG");

  // An action that changes the phone answers with the picture's new version, and the picture
  // asked for then is the changed one, not the one drawn before and kept for the next asking.
  EXPECT_EQ(post("clock", R"({"play":false})").first, 200);
  const json events = json::parse(get("/api/session/session-one/events?after=0&picture=0").second);
  const bool locked = events["state"]["orientationLocked"].get<bool>();
  auto toggled =
      post("action", json{{"line", locked ? "orientationlock off" : "orientationlock on"}}.dump());
  ASSERT_EQ(toggled.first, 200) << toggled.second;
  const std::uint64_t version = json::parse(toggled.second)["picture"].get<std::uint64_t>();
  EXPECT_GT(version, events["picture"].get<std::uint64_t>());
  auto changed = client_->Get("/api/session/session-one/picture");
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->get_header_value("X-Picture-Version"), std::to_string(version));
  EXPECT_NE(changed->body, picture->body);
  auto again = client_->Get("/api/session/session-one/picture");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->body, changed->body);

  // The phone tilted a little more, still held the same way: the picture turns it further and
  // prints the new roll.
  auto tilted = post("action", R"({"line":"attitude 0.3 0"})");
  ASSERT_EQ(tilted.first, 200) << tilted.second;
  auto more = post("action", R"({"line":"attitude 0.4 0"})");
  ASSERT_EQ(more.first, 200) << more.second;
  EXPECT_GT(json::parse(more.second)["picture"].get<std::uint64_t>(),
            json::parse(tilted.second)["picture"].get<std::uint64_t>());
}

TEST_F(LiveServerTest, TheButtonIsTappedAndDraggedOnThePictureAndTheSessionSavesAsAScenario) {
  EXPECT_EQ(post("clock", R"({"play":false})").first, 200);
  EXPECT_EQ(post("clock", R"({"step":0.5})").first, 200);
  EXPECT_EQ(post("action", R"({"line":"turn landscape"})").first, 200);
  EXPECT_EQ(post("clock", R"({"step":0.5})").first, 200);
  json events = json::parse(get("/api/session/session-one/events?after=0&picture=0").second);
  ASSERT_EQ(events["state"]["buttons"].size(), 1u) << events.dump();
  const json button = events["state"]["buttons"][0];
  const double x = button[0].get<double>() + button[2].get<double>() / 2;
  const double y = button[1].get<double>() + button[3].get<double>() / 2;
  // Dragged on the picture first, then tapped where it was left.
  auto drag = post("action", json{{"drag", {x, y, 30, -60}}}.dump());
  EXPECT_EQ(drag.first, 200) << drag.second;
  EXPECT_EQ(post("clock", R"({"step":0.5})").first, 200);
  events = json::parse(get("/api/session/session-one/events?after=0&picture=0").second);
  ASSERT_EQ(events["state"]["buttons"].size(), 1u) << events.dump();
  const json moved = events["state"]["buttons"][0];
  auto tap = post("action", json{{"tap",
                                  {moved[0].get<double>() + moved[2].get<double>() / 2,
                                   moved[1].get<double>() + moved[3].get<double>() / 2}}}
                                .dump());
  EXPECT_EQ(tap.first, 200) << tap.second;
  EXPECT_EQ(post("clock", R"({"step":1})").first, 200);

  const std::string timeline = get("/api/session/session-one/timeline.jsonl").second;
  EXPECT_NE(timeline.find("\"state\":\"moved\""), std::string::npos) << timeline;
  EXPECT_NE(timeline.find("\"on\":false,\"by\":\"tweak\""), std::string::npos) << timeline;
  auto saved = get("/api/session/session-one/scenario");
  ASSERT_EQ(saved.first, 200);
  RunResult run = sim({"run", write("saved.scn", saved.second), "--jsonl"});
  ASSERT_EQ(run.exitStatus, 0) << run.err << "\n" << saved.second;
  EXPECT_EQ(run.out, timeline) << saved.second;
}

TEST_F(LiveServerTest, AMotionTraceOpenedPlaysLiveAndSavesAsAttitudeLines) {
  auto open = [&](const std::string& body) {
    auto res = client_->Post("/api/session/session-one/open", body, "text/csv");
    return res ? std::pair<int, std::string>{res->status, res->body}
               : std::pair<int, std::string>{-1, ""};
  };
  auto bad = open("t,roll,pitch\n0,0,1.4\n1,9,0\n");
  EXPECT_EQ(bad.first, 400);
  EXPECT_NE(bad.second.find("trace:3: roll 9 is out of range"), std::string::npos) << bad.second;

  ASSERT_EQ(open("# by hand\nt,roll,pitch\n0,0,1.4\n0.5,1.5,0\n1.25,1.5,0.02\n").first, 200);
  EXPECT_EQ(post("clock", R"({"play":false})").first, 200);
  EXPECT_EQ(post("clock", R"({"step":2})").first, 200);
  auto events = get("/api/session/session-one/events?after=0&picture=0");
  ASSERT_EQ(events.first, 200);
  EXPECT_NE(events.second.find("button shown at"), std::string::npos) << events.second;

  auto saved = get("/api/session/session-one/scenario");
  ASSERT_EQ(saved.first, 200);
  EXPECT_NE(saved.second.find("at 0.5 attitude 1.5 0\n"), std::string::npos) << saved.second;
  EXPECT_NE(saved.second.find("at 1.25 attitude 1.5 0.02\n"), std::string::npos);
  RunResult run = sim({"run", write("trace-session.scn", saved.second), "--jsonl"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, get("/api/session/session-one/timeline.jsonl").second);
}

}  // namespace
}  // namespace sim
