#pragma once

// Writes a model through the four entry points of the writer library, from one plain
// description, so that each test states only what it changes.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "hdmfile/hdmfile.h"

namespace hextant::test {

struct TestModel {
  std::int16_t bodyFlags = 2 | HDM_FLAG_INTERPOLATION_9 | HDM_FLAG_LOCAL_SIDE;
  std::int16_t coordinateType = 2;
  std::int16_t resolutionCode = 1;
  double firstX = 1000.0, firstY = 2000.0, lastX = 1020.0, lastY = 2010.0;
  double spacingX = 10.0, spacingY = 10.0;
  double separationOffset = 40.0;
  std::int32_t rows = 2;
  std::string ellipsoidName = "WGS 1984";
  double semiMajorAxis = 6378137.0;
  double flattening = 1.0 / 298.25722356;
  std::vector<double> separations{40.0, 40.001, 39.999, 32767.0, 41.5, 38.25};
  std::vector<double> nullFlags{0, 0, 0, -1, 0, 0};

  std::int32_t Nodes() const { return static_cast<std::int32_t>(separations.size()); }

  /// The dense point block: 4 × (n + 1) doubles, node 0 zero; X and Y follow the grid.
  std::vector<double> PointBlock() const {
    std::vector<double> block(4 * (separations.size() + 1), 0.0);
    const auto columns = static_cast<std::size_t>(std::max(1, rows > 0 ? Nodes() / rows : 1));
    for (std::size_t k = 0; k < separations.size(); ++k) {
      double* p = &block[4 * (k + 1)];
      p[0] = firstX + static_cast<double>(k % columns) * spacingX;
      p[1] = firstY + static_cast<double>(k / columns) * spacingY;
      p[2] = separations[k];
      p[3] = nullFlags[k];
    }
    return block;
  }
};

/// Results of the four calls, in call order.
struct WriteResults {
  std::int16_t header = -1, body = -1, coord = -1, points = -1;
};

inline WriteResults WriteModel(const std::string& path, const TestModel& m) {
  WriteResults r;
  r.header = WriteHeaderFileHDM(path.c_str());
  r.body = WriteBodyFileHDM(path.c_str(), m.bodyFlags, m.Nodes());
  r.coord =
      WriteCoordTypeFileHDM(path.c_str(), m.coordinateType, m.resolutionCode, m.firstX, m.firstY,
                            m.lastX, m.lastY, m.spacingX, m.spacingY, m.separationOffset, m.rows,
                            m.Nodes(), m.ellipsoidName.c_str(), m.semiMajorAxis, m.flattening);
  const std::vector<double> block = m.PointBlock();
  r.points = WritePtsFileHDM(path.c_str(), block.data(), m.Nodes(), m.separationOffset);
  return r;
}

}  // namespace hextant::test
