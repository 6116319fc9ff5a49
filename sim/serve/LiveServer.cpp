#include "sim/serve/LiveServer.h"

#include <httplib.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "sim/ScenarioParser.h"
#include "sim/serve/PageAssets.h"
#include "sim/serve/ServeRequests.h"
#include "sim/serve/TraceUpload.h"

namespace sim {
namespace {

using nlohmann::json;

// Requests waiting for a change and the page's other requests each hold one of these.
constexpr int kServerThreads = 24;
// The movement of a pointer on the picture is given to the device to a tenth of a point.
constexpr double kPointsResolution = 10;
// A drag takes this many steps, as a scenario's `drag` does by default.
constexpr int kPageDragSteps = 4;
constexpr const char* kSessionRoute = R"(/api/session/([A-Za-z0-9_-]{8,64}))";

std::string dumped(const json& value) {
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// With its charset named, an answer is sent as it is: cpp-httplib compresses bodies of type
// exactly "application/json" with brotli at its slowest setting when the browser accepts it,
// which costs every answer milliseconds and saves nothing on a loopback connection.
void answer(httplib::Response& res, const json& value) {
  res.set_header("Cache-Control", "no-store");
  res.set_content(dumped(value), "application/json; charset=utf-8");
}

void refuse(httplib::Response& res, int status, const std::string& message) {
  res.status = status;
  answer(res, json{{"error", message}});
}

double tenths(double points) {
  return std::round(points * kPointsResolution) / kPointsResolution;
}

bool inside(const CGRect& rect, double x, double y) {
  return x >= rect.origin.x && y >= rect.origin.y && x <= rect.origin.x + rect.size.width &&
         y <= rect.origin.y + rect.size.height;
}

json stateJson(const LiveSession::State& state) {
  json rows = json::array();
  for (const SettingsControl& row : state.settingsRows) {
    json described = {{"key", row.key},
                      {"kind", settingsControlKindName(row.kind)},
                      {"title", row.title},
                      {"value", row.value}};
    switch (row.kind) {
      case SettingsControl::Kind::Switch:
        described["on"] = row.on;
        break;
      case SettingsControl::Kind::Segments:
        described["choices"] = row.choices;
        described["values"] = row.values;
        described["selected"] = row.selected;
        break;
      case SettingsControl::Kind::Slider:
        described["min"] = row.min;
        described["max"] = row.max;
        break;
      case SettingsControl::Kind::Apps:
        described["chosen"] = row.chosen;
        break;
      default:
        break;
    }
    rows.push_back(std::move(described));
  }
  json alerts = json::array();
  for (const AlertContent& alert : state.alerts) {
    json actions = json::array();
    for (const AlertButton& button : alert.actions) actions.push_back(button.title);
    alerts.push_back({{"title", alert.title}, {"message", alert.message}, {"actions", actions}});
  }
  json buttons = json::array();
  for (const CGRect& b : state.buttonsInPicture) {
    buttons.push_back({b.origin.x, b.origin.y, b.size.width, b.size.height});
  }
  return {{"orientationLocked", state.orientationLocked},
          {"deviceLocked", state.deviceLocked},
          {"frontApp", state.frontApp},
          {"orientation", state.orientation},
          {"settingsOpen", state.settingsOpen},
          {"settingsRows", rows},
          {"alerts", alerts},
          {"buttons", buttons},
          {"pixelsPerPoint", LiveSession::kPicturePixelsPerPoint},
          {"apps", state.apps}};
}

// The action a request on the picture means, or nullopt with `error`.
std::optional<Action> pictureAction(LiveSession& session, const ActionRequest& request,
                                    std::string& error) {
  const LiveSession::State state = session.state();
  bool onButton = false;
  for (const CGRect& button : state.buttonsInPicture) {
    onButton = onButton || inside(button, request.x, request.y);
  }
  if (request.kind == ActionRequest::Kind::Drag) {
    if (!onButton) {
      error = "a drag moves the button: start it on the button";
      return std::nullopt;
    }
    const CGPoint moved =
        session.screenMovementForPictureMovement(CGPointMake(request.dx, request.dy));
    return DragAction{tenths(moved.x), tenths(moved.y), kPageDragSteps, false};
  }
  if (onButton) return TapAction{};
  const CGPoint point = session.screenPointForPicturePoint(CGPointMake(request.x, request.y));
  if (point.x < 0 || point.y < 0 || point.x > state.screen.width || point.y > state.screen.height) {
    error = "that point is off the screen";
    return std::nullopt;
  }
  return TouchAction{tenths(point.x), tenths(point.y)};
}

// A whole number from a query parameter (0 when absent); nullopt when it is not one.
std::optional<std::uint64_t> counter(const httplib::Request& req, const char* name) {
  if (!req.has_param(name)) return 0;
  const std::string text = req.get_param_value(name);
  if (text.empty() || text.size() > 15) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

}  // namespace

LiveServer::LiveServer(Settings settings)
    : settings_(std::move(settings)),
      host_(settings_.sessions),
      server_(std::make_unique<httplib::Server>()) {
  route();
}

LiveServer::~LiveServer() {
  stop();
}

int LiveServer::bind(std::string& error) {
  const int port =
      settings_.port == 0
          ? server_->bind_to_any_port(settings_.host)
          : (server_->bind_to_port(settings_.host, settings_.port) ? settings_.port : -1);
  if (port < 0) {
    error = "cannot listen on " + settings_.host + " port " + std::to_string(settings_.port);
  }
  return port;
}

bool LiveServer::serve() {
  return server_->listen_after_bind();
}

void LiveServer::stop() {
  host_.stopWaiting();
  if (server_) server_->stop();
}

void LiveServer::route() {
  httplib::Server& server = *server_;
  server.new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
  server.set_payload_max_length(kMaxRequestBodyBytes);
  server.set_keep_alive_timeout(2);
  // Small answers go out at once: a page waits for each of them.
  server.set_tcp_nodelay(true);
  server.set_read_timeout(10);
  server.set_error_handler(
      httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        std::string message = "not found";
        if (res.status == 413) {
          message = "the request is too large (at most " + std::to_string(kMaxRequestBodyBytes) +
                    " bytes)";
        } else if (res.status != 404) {
          message = "the request was refused";
        }
        answer(res, json{{"error", message}});
        return httplib::Server::HandlerResponse::Handled;
      }));
  server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        refuse(res, 500, "the server could not answer that request");
      });

  for (const PageAsset& asset : PageAssets::all()) {
    const std::string type(asset.contentType);
    const std::string body(asset.body);
    server.Get(std::string(asset.path),
               [type, body](const httplib::Request&, httplib::Response& res) {
                 res.set_content(body, type.c_str());
               });
  }

  const std::string session = kSessionRoute;
  server.Get(session + "/events", [this](const httplib::Request& req, httplib::Response& res) {
    const std::string id = req.matches[1];
    const std::optional<std::uint64_t> after = counter(req, "after");
    const std::optional<std::uint64_t> picture = counter(req, "picture");
    if (!after || !picture) {
      refuse(res, 400, "\"after\" and \"picture\" must be whole numbers");
      return;
    }
    const double deadline = SessionHost::wallNow() + kLongPollSeconds;
    while (true) {
      const std::uint64_t seen = host_.changes();
      json reply;
      std::string error;
      const bool found = host_.with(
          id,
          [&](SessionHost::Entry& entry) {
            LiveSession::Lines lines = entry.session->humanLines(*after);
            if (lines.text.empty() && entry.pictureVersion == *picture &&
                SessionHost::wallNow() < deadline && !host_.waitingStopped()) {
              return;
            }
            reply = {{"lines", lines.text},
                     {"next", lines.first + lines.text.size()},
                     {"picture", entry.pictureVersion},
                     {"time", entry.session->now()},
                     {"playing", entry.clock.playing()},
                     {"speed", entry.clock.speed()},
                     {"state", stateJson(entry.session->state())}};
          },
          error);
      if (!found) {
        refuse(res, 429, error);
        return;
      }
      if (!reply.is_null()) {
        answer(res, reply);
        return;
      }
      host_.waitForChange(seen, deadline - SessionHost::wallNow());
    }
  });

  server.Get(session + "/picture", [this](const httplib::Request& req, httplib::Response& res) {
    std::vector<std::uint8_t> png;
    std::uint64_t version = 0;
    std::string error;
    if (!host_.with(
            req.matches[1],
            [&](SessionHost::Entry& entry) {
              png = entry.session->picture();
              version = entry.pictureVersion;
            },
            error)) {
      refuse(res, 429, error);
      return;
    }
    if (png.empty()) {
      refuse(res, 500, "the picture could not be drawn");
      return;
    }
    res.set_header("Cache-Control", "no-store");
    res.set_header("X-Picture-Version", std::to_string(version));
    res.set_content(std::string(png.begin(), png.end()), "image/png");
  });

  server.Post(session + "/action", [this](const httplib::Request& req, httplib::Response& res) {
    std::string error;
    std::optional<ActionRequest> request = readActionRequest(req.body, error);
    if (!request) {
      refuse(res, 400, error);
      return;
    }
    bool performed = false;
    json reply;
    const bool found = host_.with(
        req.matches[1],
        [&](SessionHost::Entry& entry) {
          LiveSession& live = *entry.session;
          std::optional<Action> action = request->kind == ActionRequest::Kind::Line
                                             ? live.parseAction(request->line, error)
                                             : pictureAction(live, *request, error);
          if (!action) return;
          live.perform(*action);
          performed = true;
          SessionHost::lookAtPicture(entry);
          reply = {{"time", live.now()}, {"picture", entry.pictureVersion}};
        },
        error);
    if (!found) {
      refuse(res, 429, error);
    } else if (!performed) {
      refuse(res, 400, error);
    } else {
      answer(res, reply);
    }
  });

  server.Post(session + "/clock", [this](const httplib::Request& req, httplib::Response& res) {
    std::string error;
    std::optional<ClockRequest> request = readClockRequest(req.body, error);
    if (!request) {
      refuse(res, 400, error);
      return;
    }
    json reply;
    const bool found = host_.with(
        req.matches[1],
        [&](SessionHost::Entry& entry) {
          const double wall = SessionHost::wallNow();
          switch (request->kind) {
            case ClockRequest::Kind::Play:
              entry.clock.play(wall);
              break;
            case ClockRequest::Kind::Pause:
              entry.clock.pause(wall);
              break;
            case ClockRequest::Kind::Speed:
              entry.clock.setSpeed(wall, request->value);
              break;
            case ClockRequest::Kind::Step:
              entry.clock.step(wall, request->value);
              entry.session->advanceTo(entry.clock.deviceTime(wall));
              break;
          }
          SessionHost::lookAtPicture(entry);
          reply = {{"time", entry.session->now()},
                   {"playing", entry.clock.playing()},
                   {"speed", entry.clock.speed()},
                   {"picture", entry.pictureVersion}};
        },
        error);
    if (!found) {
      refuse(res, 429, error);
    } else {
      answer(res, reply);
    }
  });

  server.Post(session + "/open", [this](const httplib::Request& req, httplib::Response& res) {
    std::string error;
    std::optional<Scenario> opened;
    if (isTraceUpload(req.get_header_value("Content-Type"))) {
      std::optional<std::vector<TraceSample>> samples = readUploadedTrace(req.body, "trace", error);
      if (!samples) {
        refuse(res, 400, error);
        return;
      }
      opened = scenarioPlayingTrace(host_.setupScenario(), *samples);
    } else {
      ScenarioParser::Result parsed = ScenarioParser::parse(req.body, "scenario");
      if (!parsed.ok()) {
        refuse(res, 400, parsed.error);
        return;
      }
      opened = std::move(parsed.scenario);
    }
    if (!host_.restart(req.matches[1], std::move(*opened), error)) {
      refuse(res, 400, error);
      return;
    }
    answer(res, json{{"time", 0}});
  });

  server.Get(session + "/scenario", [this](const httplib::Request& req, httplib::Response& res) {
    std::string text;
    std::string error;
    if (!host_.with(
            req.matches[1],
            [&](SessionHost::Entry& entry) { text = entry.session->savedScenario(); }, error)) {
      refuse(res, 429, error);
      return;
    }
    res.set_header("Cache-Control", "no-store");
    res.set_header("Content-Disposition", "attachment; filename=\"session.scn\"");
    res.set_content(
        "# Played live with gyrowhirl-sim serve; `gyrowhirl-sim run` plays it again.\n" + text,
        "text/plain; charset=utf-8");
  });

  server.Get(session + "/timeline.jsonl",
             [this](const httplib::Request& req, httplib::Response& res) {
               std::string text;
               std::string error;
               if (!host_.with(
                       req.matches[1],
                       [&](SessionHost::Entry& entry) {
                         for (const std::string& line : entry.session->jsonLines(0).text) {
                           text += line;
                           text += '\n';
                         }
                       },
                       error)) {
                 refuse(res, 429, error);
                 return;
               }
               res.set_header("Cache-Control", "no-store");
               res.set_content(text, "application/x-ndjson");
             });
}

}  // namespace sim
