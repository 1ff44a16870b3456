// The check of a model's grid and of nodes that stand apart from their neighbours, on a smooth
// surface with one fault at a time.

#include <gtest/gtest.h>

#include "hdmfile/hdm_layout.h"
#include "hdmfile/model_check.h"

namespace {

// 6 rows × 8 columns, 1 m spacing, millimetres: a tilted bowl around 10 m.
hdm::HdmModel SmoothModel() {
  hdm::HdmModel m;
  m.coordinateType = 2;
  m.resolutionCode = 1;
  m.rows = 6;
  m.nodes = 48;
  m.spacingX = m.spacingY = 1.0;
  m.lastX = 7.0;
  m.lastY = 5.0;
  for (int k = 0; k < m.nodes; ++k) {
    const int x = k % 8, y = k / 8;
    m.codes.push_back(static_cast<std::int16_t>(10000 + 300 * x - 200 * y + 40 * (x - 4) * (x - 4) +
                                                25 * (y - 2) * (y - 3)));
  }
  return m;
}

struct Fault {
  const char* name;
  void (*apply)(hdm::HdmModel&);
  bool regular, onLattice;
  std::int64_t nodesWithoutValue, zeros, firstZero, outliers, firstOutlier;
  int emptyEdges = 0;
};

TEST(ModelCheck, FindsEachFaultAndNothingOnASmoothSurface) {
  const Fault faults[] = {
      {"smooth", [](hdm::HdmModel&) {}, true, true, 0, 0, -1, 0, -1},
      {"nodes without value", [](hdm::HdmModel& m) { m.codes[19] = m.codes[20] = hdm::kNullCode; },
       true, true, 2, 0, -1, 0, -1},
      {"a value read as 0", [](hdm::HdmModel& m) { m.codes[19] = 0; }, true, true, 0, 1, 19, 0, -1},
      {"a zero at the edge", [](hdm::HdmModel& m) { m.codes[3] = 0; }, true, true, 0, 1, 3, 0, -1},
      {"0.2 m, no zero", [](hdm::HdmModel& m) { m.codes[29] = 200; }, true, true, 0, 0, -1, 1, 29},
      {"code 0 beside an offset of 30 m",
       [](hdm::HdmModel& m) {
         m.separationOffset = 30.0;
         m.codes[29] = 0;
       },
       true, true, 0, 0, -1, 1, 29},
      {"0 m beside an offset of 30 m",
       [](hdm::HdmModel& m) {
         m.separationOffset = 30.0;
         m.codes[30] = -30000;
       },
       true, true, 0, 1, 30, 0, -1},
      {"a node too many", [](hdm::HdmModel& m) { m.lastX = 8.0; }, false, true, 0, 0, -1, 0, -1},
      {"rows short of the extent", [](hdm::HdmModel& m) { m.lastY = 6.0; }, false, true, 0, 0, -1,
       0, -1},
      {"an extent off the spacing", [](hdm::HdmModel& m) { m.lastX = 7.4; }, true, false, 0, 0, -1,
       0, -1},
      {"a northern row and an eastern column without value",
       [](hdm::HdmModel& m) {
         for (int k = 0; k < 48; ++k) {
           if (k >= 40 || k % 8 == 7) {
             m.codes[static_cast<std::size_t>(k)] = hdm::kNullCode;
           }
         }
       },
       true, true, 13, 0, -1, 0, -1, 2},
  };
  for (const Fault& f : faults) {
    SCOPED_TRACE(f.name);
    hdm::HdmModel m = SmoothModel();
    f.apply(m);
    const hdm::ModelCheckReport r = hdm::CheckModel(m);
    EXPECT_EQ(r.regular, f.regular);
    EXPECT_EQ(r.onLattice, f.onLattice);
    EXPECT_EQ(r.nodesWithoutValue, f.nodesWithoutValue);
    EXPECT_EQ(r.neighboursCompared, f.regular);
    EXPECT_EQ(r.zeros, f.zeros);
    EXPECT_EQ(r.firstZero, f.firstZero);
    EXPECT_EQ(r.outliers, f.outliers);
    EXPECT_EQ(r.firstOutlier, f.firstOutlier);
    EXPECT_EQ(r.emptyEdges, f.emptyEdges);
    EXPECT_EQ(r.Clean(),
              f.regular && f.onLattice && f.zeros == 0 && f.outliers == 0 && f.emptyEdges == 0);
  }
}

}  // namespace
