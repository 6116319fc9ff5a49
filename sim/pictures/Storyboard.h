// A contact sheet of key frames ("storyboard.png"): the frames in a grid, left to right and top
// to bottom in the order given, each fitted into its tile (cropped first when asked), with its
// marks ringed, numbered and captioned with its time and what it shows.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct StoryboardFrame {
  double time = 0;      // virtual seconds
  std::string caption;  // what the frame shows, in plain words
  std::filesystem::path png;
  // The part of the picture to show, in pixels (DeviceRenderer::phoneBoundsInImage); the
  // whole picture when empty.
  struct Crop {
    int x = 0, y = 0, width = 0, height = 0;
  } crop;
  // Small things in the picture a viewer should find at a glance (the floating button), in
  // pixels of the whole picture: each is ringed in the thumbnail.
  struct Mark {
    double x = 0, y = 0, width = 0, height = 0;
  };
  std::vector<Mark> marks;
};

class Storyboard {
 public:
  static constexpr int kColumns = 4;
  static constexpr int kCellWidthPixels = 320;
  static constexpr int kThumbnailHeightPixels = 360;

  // Writes the sheet as a PNG file. A frame whose file cannot be read keeps its place as a
  // grey tile naming the file. False, with the reason in `error`, only when the sheet itself
  // cannot be written.
  static bool write(const std::vector<StoryboardFrame>& frames, const std::filesystem::path& file,
                    std::string_view title, std::string& error);
};

}  // namespace sim
