// Exports read back by the independent readers of export_readers.h give the model's nodes.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "hdmfile/export_readers.h"
#include "hdmfile/grid_export.h"
#include "hdmfile/model_units.h"
#include "hdmfile/model_writer.h"
#include "temp_dir.h"

namespace hextant::test {
namespace {

// Degrees stored as radians with pi as 3.141592654, as the window stores them: the exports give
// the degrees back as they were.
constexpr double kDeg = hdm::kRoundedPi / 180;

TestModel Geographical() {
  TestModel m;
  m.bodyFlags = 1 | HDM_FLAG_INTERPOLATION_4;
  m.coordinateType = 1;
  m.resolutionCode = 2;
  m.firstX = -3 * kDeg;
  m.firstY = 41 * kDeg;
  m.spacingX = m.spacingY = 0.25 * kDeg;
  m.lastX = m.firstX + 2 * m.spacingX;
  m.lastY = m.firstY + m.spacingY;
  m.separations = {49.5, 49.53, 32767.0, 49.46, -0.01, 51.27};
  m.nullFlags = {0, 0, -1, 0, 0, 0};
  return m;
}

class Export : public ::testing::Test {
 protected:
  // Each model gets a file of its own: Windows replaces no file that a reader holds open.
  std::unique_ptr<hdm::HdmFileReader> Open(const TestModel& m) {
    const std::string path = dir_.File("model" + std::to_string(++opened_) + ".HDM");
    EXPECT_EQ(WriteModel(path, m).points, HDM_OK);
    std::string error;
    auto reader = hdm::HdmFileReader::Open(path, error);
    EXPECT_NE(reader, nullptr) << error;
    return reader;
  }
  TempDir dir_;
  int opened_ = 0;
};

TEST_F(Export, EveryLayoutReadsBackAsTheModel) {
  const struct {
    const char* name;
    TestModel model;
    hdm::ExportFormat format;
    double west, south, spacing;  // degrees or metres, exactly
  } cases[] = {
      {"geographical gtx", Geographical(), hdm::ExportFormat::Gtx, -3, 41, 0.25},
      {"geographical isg", Geographical(), hdm::ExportFormat::Isg, -3, 41, 0.25},
      {"geographical xyz", Geographical(), hdm::ExportFormat::Xyz, -3, 41, 0.25},
      {"grid isg", TestModel{}, hdm::ExportFormat::Isg, 1000, 2000, 10},
      {"grid xyz", TestModel{}, hdm::ExportFormat::Xyz, 1000, 2000, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TestModel& m = c.model;
    auto reader = Open(m);
    const std::string out = dir_.File("export.out");
    std::string error;
    ASSERT_TRUE(hdm::ExportModel(*reader, c.format, out, error)) << error;
    const double unit = m.resolutionCode == 1 ? 0.001 : 0.01;
    const std::int32_t columns = m.Nodes() / m.rows;
    if (c.format == hdm::ExportFormat::Xyz) {
      const auto nodes = ReadXyz(out);
      std::size_t n = 0;
      for (std::size_t k = 0; k < m.separations.size(); ++k) {
        if (m.nullFlags[k] != 0) {
          continue;
        }
        ASSERT_LT(n, nodes.size());
        const auto [x, y, value] = nodes[n++];
        EXPECT_EQ(x, c.west + static_cast<double>(k % columns) * c.spacing);
        EXPECT_EQ(y, c.south + static_cast<double>(k / columns) * c.spacing);
        EXPECT_NEAR(value, m.separations[k], unit / 2);
      }
      EXPECT_EQ(n, nodes.size());
      continue;
    }
    const ReadGrid g = ReadGridFile(out);
    ASSERT_TRUE(g.status) << g.status.Description();
    EXPECT_EQ(g.grid.South, c.south);
    EXPECT_EQ(g.grid.West, c.west);
    EXPECT_EQ(g.grid.SpacingY, c.spacing);
    EXPECT_EQ(g.grid.SpacingX, c.spacing);
    EXPECT_EQ(g.grid.Rows, m.rows);
    EXPECT_EQ(g.grid.Columns, columns);
    EXPECT_EQ(g.grid.Geographical, m.coordinateType == 1);
    ASSERT_EQ(g.values.size(), m.separations.size());
    for (std::size_t k = 0; k < m.separations.size(); ++k) {
      if (m.nullFlags[k] != 0) {
        EXPECT_TRUE(std::isnan(g.values[k])) << k;
      } else {
        EXPECT_NEAR(g.values[k], m.separations[k],
                    c.format == hdm::ExportFormat::Gtx ? 1e-5 : unit / 2)
            << k;
      }
    }
  }
}

TEST_F(Export, AFailedExportLeavesNothingHalfWritten) {
  auto reader = Open(Geographical());
  std::string error;
  const std::string missing = dir_.File("no such folder/model.gtx");
  EXPECT_FALSE(hdm::ExportModel(*reader, hdm::ExportFormat::Gtx, missing, error));
  EXPECT_NE(error.find(missing + ": cannot be written"), std::string::npos) << error;

  // A grid model has no GTX; the file that stood at the name stays as it was, alone.
  auto grid = Open(TestModel{});
  const std::string earlier = dir_.File("earlier.gtx");
  WriteBytes(earlier, {1, 2, 3});
  EXPECT_FALSE(hdm::ExportModel(*grid, hdm::ExportFormat::Gtx, earlier, error));
  EXPECT_NE(error.find("geographical grids only"), std::string::npos) << error;
  EXPECT_EQ(ReadBytes(earlier), (std::vector<std::uint8_t>{1, 2, 3}));
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
    ++files;
  }
  EXPECT_EQ(files, 3u);  // the two models and earlier.gtx, no staging file
  EXPECT_EQ(hdm::ExportFormatNamed("isg"), hdm::ExportFormat::Isg);
  EXPECT_FALSE(hdm::ExportFormatNamed("tif"));
}

}  // namespace
}  // namespace hextant::test
