#include "hdm_report_check.h"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "hdmfile/model_check.h"
#include "hdmfile/model_units.h"

namespace hextant {
namespace {

// "X Y" of node `node` (file order): degrees for a geographical model, metres for a grid model.
std::string PlaceOf(const hdm::HdmModel& m, std::int64_t node) {
  const double perUnit = hdm::ModelUnitsPerUserUnit(m);
  const std::int64_t columns = m.Columns();
  const double x = m.firstX + static_cast<double>(node % columns) * m.spacingX;
  const double y = m.firstY + static_cast<double>(node / columns) * m.spacingY;
  return hdm::DecimalText(x / perUnit) + " " + hdm::DecimalText(y / perUnit);
}

void PrintGrid(const hdm::HdmModel& m, const hdm::ModelCheckReport& r) {
  if (r.regular) {
    std::printf("grid: regular, %d rows x %d columns\n", m.rows, m.Columns());
    return;
  }
  std::printf("grid: not regular, %d nodes on %d rows; the extent holds %d rows x %d columns\n",
              m.nodes, m.rows, r.extentRows, r.extentColumns);
  std::fprintf(stderr,
               "hextant-inspect: warning: the %d nodes do not fill the %d x %d grid of the "
               "model's extent: nodes are missing, doubled or off the spacing\n",
               m.nodes, r.extentRows, r.extentColumns);
}

void PrintLattice(const hdm::ModelCheckReport& r) {
  if (r.onLattice) {
    std::printf("lattice: ok\n");
    return;
  }
  std::printf("lattice: the extent spans %.6g x %.6g spacings (X x Y), not whole numbers\n",
              r.columnSpacings, r.rowSpacings);
  std::fprintf(stderr,
               "hextant-inspect: warning: the last node lies %.6g x %.6g spacings from the first, "
               "off the lattice of the spacings\n",
               r.columnSpacings, r.rowSpacings);
}

void PrintNeighbours(const hdm::HdmModel& m, const hdm::ModelCheckReport& r) {
  if (!r.neighboursCompared) {
    std::printf("neighbours: not compared, the grid is not regular\n");
    return;
  }
  std::printf("zeros-unlike-neighbours: %" PRId64, r.zeros);
  if (r.zeros > 0) {
    const std::string place = PlaceOf(m, r.firstZero);
    std::printf(", the first at %s", place.c_str());
    std::fprintf(stderr,
                 "hextant-inspect: warning: %" PRId64
                 " node(s) hold 0 m unlike their neighbours (the first at %s): a value that held "
                 "no number may have been read as 0\n",
                 r.zeros, place.c_str());
  }
  std::printf("\noutliers: %" PRId64, r.outliers);
  if (r.outliers > 0) {
    const std::string place = PlaceOf(m, r.firstOutlier);
    std::printf(", the first at %s, %.4g m from its neighbours' mean", place.c_str(),
                r.firstOutlierDifference);
    std::fprintf(stderr,
                 "hextant-inspect: warning: %" PRId64
                 " node(s) stand apart from their neighbours (the first at %s, %.4g m from "
                 "their mean): a value may be wrong\n",
                 r.outliers, place.c_str(), r.firstOutlierDifference);
  }
  std::printf("\n");
}

}  // namespace

int PrintModelCheck(const hdm::HdmModel& model) {
  const hdm::ModelCheckReport report = hdm::CheckModel(model);
  std::printf("integrity: ok\n");
  PrintGrid(model, report);
  PrintLattice(report);
  std::printf(
      "nodes-without-value: %" PRId64 " (%.1f %%)\n", report.nodesWithoutValue,
      model.nodes > 0 ? 100.0 * static_cast<double>(report.nodesWithoutValue) / model.nodes : 0.0);
  if (report.emptyEdges > 0) {
    std::printf("empty-edges: %d\n", report.emptyEdges);
    std::fprintf(stderr,
                 "hextant-inspect: warning: %d of the grid's edge rows and columns hold no value "
                 "at all: the source may have been cut short, or its spacing is too fine\n",
                 report.emptyEdges);
  }
  PrintNeighbours(model, report);
  std::printf("check: %s\n", report.Clean() ? "ok" : "warnings");
  return report.Clean() ? 0 : 3;
}

}  // namespace hextant
