// The folder that `--render DIR` writes pictures into. A run never mixes its pictures with
// those of an earlier run: the earlier run's frames and storyboard are removed before the
// run starts, and a folder that holds anything else (a file the simulator does not write, a
// subfolder, a link) is refused, so nothing but the simulator's own pictures is ever deleted.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// True for the names the simulator gives the files it writes into the folder: frames
// "frame-TTTT.TTT.png" (the device time, at least four digits before the point, three after)
// and "storyboard.png".
bool isRenderedFileName(std::string_view name);

class RenderFolder {
 public:
  struct Check {
    bool usable = false;
    std::string problem;  // why it is not usable, for a person
  };

  // Whether `folder` (which exists) may take a run's pictures: every entry is a regular file
  // with a name isRenderedFileName() accepts.
  static Check check(const std::filesystem::path& folder);
  // Removes the earlier run's pictures from `folder`; refuses, removing nothing, when check()
  // does. False with a reason in `error`.
  static bool clear(const std::filesystem::path& folder, std::string& error);
};

}  // namespace sim
