#pragma once

// The model read back after writing: every node of the file is compared with the value the source
// gave it, so that a model whose stored values differ from the source by more than the rounding to
// the storage unit allows is never reported as a success.

#include <cstdint>
#include <filesystem>
#include <string>

#include "base/point_list.h"

namespace hextant {

struct ModelComparison {
  bool Matches = false;          // every node within half a storage unit of its source value
  std::string Problem;           // why not, naming the file and the node ("" when it matches)
  double HalfUnit = 0.0;         // metres: 0.0005 for a model in millimetres, 0.005 in centimetres
  double LargestDifference = 0;  // metres, over the nodes with a value
  std::int32_t LargestAt = 0;    // 1-based node of the point list where it lies (0: none)
};

/// Reads the model at `model` (UTF-8 path text, as the writer library took it) with the model
/// reader and compares its nodes, in file order, with `points`: the same count, no value where the
/// source has none, and each value within half a storage unit of the source's.
ModelComparison CompareModelWithNodes(const std::string& model, const PointList& points);

/// "every node within 0.5 mm of the source (largest difference 0.49 mm, at 5.25 50.75)", the place
/// in decimal degrees for a geographical model (coordinate type 1), in metres otherwise.
std::string ComparisonSummary(const ModelComparison& comparison, const PointList& points,
                              std::int16_t coordinateType);

}  // namespace hextant
