#include "model_check.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "hdm_layout.h"

namespace hdm {
namespace {

constexpr double kLatticeTolerance = 1e-3;  // of a spacing
constexpr double kSpreadFactor = 2.0;
constexpr double kApartUnits = 10.0;

// Grid count along one axis: `span` / `spacing` + 1, rounded half to even.
std::int32_t CountAlong(double span, double spacing) {
  const double count = std::nearbyint(span / spacing + 1.0);
  return count >= 1.0 && count <= 2147483647.0 ? static_cast<std::int32_t>(count) : 0;
}

bool NearWhole(double value) {
  return std::abs(value - std::nearbyint(value)) <= kLatticeTolerance;
}

// The codes of a regular model by row and column, nullopt for a node without value or outside.
class CodeGrid {
 public:
  explicit CodeGrid(const HdmModel& m) : m_(m), columns_(m.Columns()) {}
  std::int32_t Rows() const { return m_.rows; }
  std::int32_t Columns() const { return columns_; }
  std::optional<double> At(std::int32_t row, std::int32_t column) const {
    if (row < 0 || row >= m_.rows || column < 0 || column >= columns_) {
      return std::nullopt;
    }
    const std::int16_t code = m_.codes[static_cast<std::size_t>(Node(row, column))];
    return code == kNullCode ? std::nullopt : std::optional<double>(code);
  }
  std::int64_t Node(std::int32_t row, std::int32_t column) const {
    return std::int64_t{row} * columns_ + column;
  }

 private:
  const HdmModel& m_;
  std::int32_t columns_;
};

// How far node (row, column) lies from the mean of its axis neighbours beyond what the spread of
// its ring of 8 neighbours explains, in storage units; nullopt when it does not stand apart.
std::optional<double> Apartness(const CodeGrid& g, std::int32_t row, std::int32_t column) {
  const auto centre = g.At(row, column);
  if (!centre) {
    return std::nullopt;
  }
  double axisSum = 0, lowest = HUGE_VAL, highest = -HUGE_VAL;
  int axisCount = 0, ringCount = 0;
  for (int dr = -1; dr <= 1; ++dr) {
    for (int dc = -1; dc <= 1; ++dc) {
      const auto value = (dr || dc) ? g.At(row + dr, column + dc) : std::nullopt;
      if (!value) {
        continue;
      }
      lowest = std::min(lowest, *value);
      highest = std::max(highest, *value);
      ++ringCount;
      if (dr == 0 || dc == 0) {
        axisSum += *value;
        ++axisCount;
      }
    }
  }
  if (axisCount < 2 || ringCount < 3) {
    return std::nullopt;
  }
  const double difference = *centre - axisSum / axisCount;
  if (std::abs(difference) <= kSpreadFactor * (highest - lowest) + kApartUnits) {
    return std::nullopt;
  }
  return difference;
}

void FindNodesApart(const HdmModel& m, const CodeGrid& g, ModelCheckReport& report) {
  const double unitsPerMetre = UnitsPerMetre(m.resolutionCode);
  for (std::int32_t row = 0; row < g.Rows(); ++row) {
    for (std::int32_t column = 0; column < g.Columns(); ++column) {
      const auto difference = Apartness(g, row, column);
      if (!difference) {
        continue;
      }
      const std::int64_t node = g.Node(row, column);
      if (std::abs(*m.Separation(static_cast<std::size_t>(node))) < 0.5 / unitsPerMetre) {
        report.firstZero = report.zeros++ == 0 ? node : report.firstZero;
      } else if (report.outliers++ == 0) {
        report.firstOutlier = node;
        report.firstOutlierDifference = *difference / unitsPerMetre;
      }
    }
  }
}

// How many of the four edges (first and last row, first and last column) hold no value at all.
int CountEmptyEdges(const CodeGrid& g) {
  const auto emptyRow = [&](std::int32_t row) {
    for (std::int32_t column = 0; column < g.Columns(); ++column) {
      if (g.At(row, column)) {
        return false;
      }
    }
    return true;
  };
  const auto emptyColumn = [&](std::int32_t column) {
    for (std::int32_t row = 0; row < g.Rows(); ++row) {
      if (g.At(row, column)) {
        return false;
      }
    }
    return true;
  };
  return emptyRow(0) + emptyRow(g.Rows() - 1) + emptyColumn(0) + emptyColumn(g.Columns() - 1);
}

}  // namespace

ModelCheckReport CheckModel(const HdmModel& m) {
  ModelCheckReport report;
  report.columnSpacings = (m.lastX - m.firstX) / m.spacingX;
  report.rowSpacings = (m.lastY - m.firstY) / m.spacingY;
  report.extentColumns = CountAlong(m.lastX - m.firstX, m.spacingX);
  report.extentRows = CountAlong(m.lastY - m.firstY, m.spacingY);
  report.regular =
      m.IsRegular() && m.rows == report.extentRows && m.Columns() == report.extentColumns;
  report.onLattice = NearWhole(report.columnSpacings) && NearWhole(report.rowSpacings);
  report.nodesWithoutValue = std::count(m.codes.begin(), m.codes.end(), kNullCode);
  if (report.regular && m.codes.size() == static_cast<std::size_t>(m.nodes)) {
    const CodeGrid grid(m);
    report.neighboursCompared = true;
    FindNodesApart(m, grid, report);
    report.emptyEdges = CountEmptyEdges(grid);
  }
  return report;
}

}  // namespace hdm
