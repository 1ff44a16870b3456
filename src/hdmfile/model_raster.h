#pragma once

// A model sampled into a raster for a picture: one value per pixel from the nearest node, the
// range of every node's separation and the extent. Plain numbers: the drawing is left to the
// toolkit (src/ui/model_picture.h).

#include <cstdint>
#include <string>
#include <vector>

#include "hdm_reader.h"

namespace hdm {

struct ModelRaster {
  int width = 0;
  int height = 0;
  /// Separations in metres, `width` × `height`, the northernmost pixel row first; NaN for a
  /// pixel whose node has no value.
  std::vector<float> values;
  /// The smallest and largest separation of the model's nodes (NaN when none has a value).
  double minimum = 0;
  double maximum = 0;
  /// The extent of the nodes in degrees (geographical) or metres (grid).
  double west = 0, east = 0, south = 0, north = 0;
  bool geographical = false;
};

/// Samples `nodes`, a regular model, into a raster `width` pixels wide and as high as the
/// model's extent keeps its proportions (degrees as they are for a geographical model), at most
/// `maxHeight`. Reads the model once, a block of rows at a time. False with `error` when the
/// nodes cannot be read.
bool SampleRaster(HdmNodes& nodes, int width, int maxHeight, ModelRaster& raster,
                  std::string& error);

}  // namespace hdm
