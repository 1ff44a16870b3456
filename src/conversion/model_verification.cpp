#include "conversion/model_verification.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "base/angles.h"
#include "hdmfile/hdm_layout.h"
#include "hdmfile/hdm_reader.h"
#include "settings/conversion_settings.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

constexpr std::int32_t kNodesPerBlock = 1 << 16;
// Reading back adds the rounding of offset + code / units to the storage's own half unit.
constexpr double kArithmeticSlack = 1e-9;

std::string MillimetreText(double metres) {
  return NumberText(std::round(metres * 1e5) / 100) + " mm";
}

std::string PlaceText(const PointList& points, std::int32_t node, std::int16_t coordinateType) {
  const GeoidPoint p = points.Node(node);
  const double scale = coordinateType == Geographical ? 180.0 / WindowPi : 1.0;
  return NumberText(std::round(p.X * scale * 1e6) / 1e6) + " " +
         NumberText(std::round(p.Y * scale * 1e6) / 1e6);
}

// Compares one block of stored codes with the nodes from `first` (1-based) on.
bool CompareBlock(const hdm::HdmModel& header, const std::vector<std::int16_t>& codes,
                  const PointList& points, std::int32_t first, ModelComparison& result,
                  const std::string& model) {
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const std::int32_t node = first + static_cast<std::int32_t>(i);
    const GeoidPoint source = points.Node(node);
    const bool sourceHasValue = source.NullFlag == 0.0 && source.Separation != NullSeparation;
    const std::optional<double> stored = header.SeparationOf(codes[i]);
    if (sourceHasValue != stored.has_value()) {
      result.Problem =
          model + ": node " + std::to_string(node) + " was read back " +
          (stored ? "with a value where the source has none"
                  : "without a value where the source has " + NumberText(source.Separation) + " m");
      return false;
    }
    if (!stored) {
      continue;
    }
    const double difference = std::fabs(*stored - source.Separation);
    if (!(difference <= result.HalfUnit + kArithmeticSlack)) {
      result.Problem = model + ": node " + std::to_string(node) + " was read back as " +
                       NumberText(*stored) + " m where the source gives " +
                       NumberText(source.Separation) + " m, beyond the half storage unit of " +
                       MillimetreText(result.HalfUnit);
      return false;
    }
    if (difference > result.LargestDifference || result.LargestAt == 0) {
      result.LargestDifference = difference;
      result.LargestAt = node;
    }
  }
  return true;
}

}  // namespace

ModelComparison CompareModelWithNodes(const std::string& model, const PointList& points) {
  ModelComparison result;
  std::string error;
  const std::unique_ptr<hdm::HdmFileReader> reader = hdm::HdmFileReader::Open(model, error);
  if (!reader) {
    result.Problem = error;
    return result;
  }
  const hdm::HdmModel& header = reader->Header();
  if (header.nodes != points.Count()) {
    result.Problem = model + ": " + std::to_string(header.nodes) + " nodes were read back where " +
                     std::to_string(points.Count()) + " were written";
    return result;
  }
  result.HalfUnit = 0.5 / hdm::UnitsPerMetre(header.resolutionCode);
  std::vector<std::int16_t> codes;
  for (std::int32_t first = 0; first < header.nodes; first += kNodesPerBlock) {
    codes.resize(static_cast<std::size_t>(std::min(kNodesPerBlock, header.nodes - first)));
    if (!reader->ReadCodes(first, static_cast<std::int32_t>(codes.size()), codes.data())) {
      result.Problem = reader->Error();
      return result;
    }
    if (!CompareBlock(header, codes, points, first + 1, result, model)) {
      return result;
    }
  }
  result.Matches = true;
  return result;
}

std::string ComparisonSummary(const ModelComparison& comparison, const PointList& points,
                              std::int16_t coordinateType) {
  std::string text = "every node within " + MillimetreText(comparison.HalfUnit) + " of the source";
  if (comparison.LargestAt > 0) {
    text += " (largest difference " + MillimetreText(comparison.LargestDifference) + ", at " +
            PlaceText(points, comparison.LargestAt, coordinateType) + ")";
  }
  return text;
}

}  // namespace hextant
