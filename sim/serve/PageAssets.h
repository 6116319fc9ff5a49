// The files of the page `serve` shows, built into the simulator from sim/serve/page/ so that
// the page works from any folder and offline.
#pragma once

#include <span>
#include <string_view>

namespace sim {

struct PageAsset {
  std::string_view path;  // as requested: "/", "/app.js"
  std::string_view contentType;
  std::string_view body;
};

class PageAssets {
 public:
  static std::span<const PageAsset> all();
};

}  // namespace sim
