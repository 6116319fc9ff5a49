// The web server of `serve`: one page (PageAssets) and a small JSON API over the live
// sessions (SessionHost), one simulated device per page. Routes, for a session id ID that the
// page makes (see isSessionId):
//   GET  /, /app.js, /style.css          the page
//   GET  /api/session/ID/events?after=N&picture=V
//        waits (at most kLongPollSeconds) until the human timeline has lines from number N
//        on or the picture differs from version V, then answers {lines, next, picture,
//        time, playing, speed, state}; nothing runs for it while nothing changes
//   GET  /api/session/ID/picture         the phone now, PNG; its version in the header
//                                        X-Picture-Version
//   POST /api/session/ID/action          {"line": ...} | {"tap": [x, y]} | {"drag": [x, y, dx, dy]}
//                                        answered {time, picture}: the picture's version after
//   POST /api/session/ID/clock           {"play": bool} | {"speed": 1|4} | {"step": seconds}
//                                        answered {time, playing, speed, picture}
//   POST /api/session/ID/open            a scenario's text: a fresh device plays it
//   GET  /api/session/ID/scenario        the session so far as a scenario file
//   GET  /api/session/ID/timeline.jsonl  the session's timeline as JSON Lines
// A request that is malformed, too large or names nothing is answered with a 4xx status and
// {"error": message}; no request runs a program or touches a file outside a device's root.
#pragma once

#include <memory>
#include <string>

#include "sim/serve/SessionHost.h"

namespace httplib {
class Server;
}

namespace sim {

class LiveServer {
 public:
  static constexpr double kLongPollSeconds = 15;

  struct Settings {
    std::string host = "127.0.0.1";
    int port = 8080;  // 0: any free port
    SessionHost::Settings sessions;
  };

  explicit LiveServer(Settings settings);
  ~LiveServer();
  LiveServer(const LiveServer&) = delete;
  LiveServer& operator=(const LiveServer&) = delete;

  // Binds the address; the port bound, or -1 with the reason in `error`.
  int bind(std::string& error);
  // Serves until stop(); false when serving failed.
  bool serve();
  // From any thread.
  void stop();

 private:
  void route();

  Settings settings_;
  SessionHost host_;
  std::unique_ptr<httplib::Server> server_;
};

}  // namespace sim
