#pragma once

// The command line of hextant-inspect.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hdm_report_points.h"

namespace hextant {

inline constexpr const char* InspectUsage = R"(Usage: hextant-inspect [OPTIONS] FILE
Reads an HDM geoid model file, checks it (the CRC-32 of the whole file first) and prints its
header (positions and spacings in degrees for a geographical model, metres for a grid model),
or answers what the options ask:
  --radians               the header's positions and spacings of a geographical model in
                          radians, as the file stores them, rather than degrees
  --check                 whether the nodes fill the grid of the extent and spacings, and which
                          nodes stand apart from their neighbours (a 0 read from a field
                          without a number, a wrong value)
  --nodes                 every node as 'X Y SEPARATION' (degrees or metres, metres, 'null' for a
                          node without value)
  --at X,Y                the separation at a point: 'X Y N', N in metres to 0.1 mm (four
                          decimals) or 'null' outside the grid or beside a node without value;
                          degrees for a geographical model (longitudes -180..180 or 0..360),
                          metres for a grid model; may be repeated
  --points FILE|-         the same for every 'X Y' line of FILE (or standard input); '#' starts a
                          comment; tab, semicolon, space or comma between the numbers
  --interpolation 4|9|16  bilinear, biquadratic (3x3 nodes) or bicubic spline (4x4 nodes) instead
                          of the model's own method
  --export gtx|isg|xyz OUT  writes the model as a NOAA GTX grid, an ISG 2.0 text grid or XYZ text
  --picture OUT.png       writes the model as a colour map with a legend
  --width N               the picture's width in pixels (16..8192, default 800)
  --overwrite             replaces an OUT that exists already; without it such a file is kept
                          and nothing is written
  --help                  shows this text
  --version               prints the version
Positions are printed as the nearest decimal with at most nine decimals.
Exit status 0 when everything was answered; 1 when the file is no intact model, a point line is
broken or a file cannot be written (stderr says why); 2 on bad usage; 3 when --check warns.
)";

struct InspectOptions {
  bool help = false;
  bool version = false;
  std::string path;
  bool radians = false;
  bool nodes = false;
  bool check = false;
  std::vector<TypedPoint> at;
  std::optional<std::string> pointsFile;
  std::optional<int> interpolation;
  std::string exportFormat;
  std::string exportPath;
  std::string picturePath;
  int width = 800;
  bool overwrite = false;

  bool HasQueries() const { return !at.empty() || pointsFile.has_value(); }
  bool HasActions() const { return HasQueries() || !exportPath.empty() || !picturePath.empty(); }
};

/// Reads the arguments after the program name; --help and --version end the reading. nullopt,
/// with `problem` set, on bad usage.
std::optional<InspectOptions> ParseInspectOptions(const std::vector<std::string>& args,
                                                  std::string& problem);

}  // namespace hextant
