// Point queries: each interpolation is exact on the surfaces it reproduces, longitudes wrap on a
// global model, nodes without value make the answer null, and random access agrees with the
// model read whole.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>

#include "hdmfile/hdm_layout.h"
#include "hdmfile/hdm_reader.h"
#include "hdmfile/model_writer.h"
#include "hdmfile/point_query.h"
#include "temp_dir.h"

namespace hextant::test {
namespace {

using hdm::Interpolation;
constexpr double kDeg = std::numbers::pi / 180;

// Millimetres at node (i, j): whole numbers at the nodes, so the stored codes are exact.
using Surface = std::function<double(double i, double j)>;

// A grid model in memory: `columns` × `rows` nodes 10 m apart from (1000, 2000), resolution mm.
hdm::HdmModel GridModel(std::int32_t columns, std::int32_t rows, const Surface& mm) {
  hdm::HdmModel m;
  m.coordinateType = 2;
  m.resolutionCode = 1;
  m.bodyFlags = 2;
  m.nodes = columns * rows;
  m.rows = rows;
  m.firstX = 1000;
  m.firstY = 2000;
  m.lastX = 1000 + 10.0 * (columns - 1);
  m.lastY = 2000 + 10.0 * (rows - 1);
  m.spacingX = m.spacingY = 10;
  for (std::int32_t j = 0; j < rows; ++j) {
    for (std::int32_t i = 0; i < columns; ++i) {
      m.codes.push_back(static_cast<std::int16_t>(mm(i, j)));
    }
  }
  return m;
}

std::optional<double> At(const hdm::HdmModel& model, Interpolation method, double x, double y) {
  hdm::HdmMemoryNodes nodes(model);
  hdm::PointQuery query(nodes, method);
  std::optional<double> separation;
  EXPECT_TRUE(query.At({x, y}, separation));
  return separation;
}

TEST(PointQuery, EachMethodIsExactOnTheSurfacesItReproduces) {
  const Surface plane = [](double i, double j) { return 100 + 7 * i - 5 * j; };
  const Surface quadratic = [](double i, double j) {
    return 100 + 7 * i - 5 * j + 3 * i * i - 2 * i * j + 4 * j * j;
  };
  const Surface biquadratic = [](double i, double j) { return 50 + i * i * j * j - 3 * i * j * j; };
  const struct {
    const char* name;
    Interpolation method;
    Surface surface;
  } cases[] = {
      {"bilinear plane", Interpolation::Bilinear, plane},
      {"bilinear i j", Interpolation::Bilinear, [](double i, double j) { return 9 * i * j; }},
      {"biquadratic plane", Interpolation::Biquadratic, plane},
      {"biquadratic quadratic", Interpolation::Biquadratic, quadratic},
      {"biquadratic i² j²", Interpolation::Biquadratic, biquadratic},
      {"bicubic plane", Interpolation::Bicubic, plane},
      {"bicubic quadratic", Interpolation::Bicubic, quadratic},
  };
  std::mt19937 random(14);
  std::uniform_real_distribution<double> u(0, 6), v(0, 4);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const hdm::HdmModel model = GridModel(7, 5, c.surface);
    for (int k = 0; k < 200; ++k) {
      // Random points, the four corners and the edges, where the windows lean inward.
      const double i = k < 4 ? 6.0 * (k % 2) : k < 8 ? 3.5 : u(random);
      const double j = k < 4 ? 4.0 * (k / 2) : k < 8 ? 4.0 * (k % 2) : v(random);
      const auto value = At(model, c.method, 1000 + 10 * i, 2000 + 10 * j);
      ASSERT_TRUE(value) << i << " " << j;
      EXPECT_NEAR(*value, c.surface(i, j) / 1000, 1e-12) << i << " " << j;
    }
  }
  // And the simpler methods are not exact on the quadratic: the test can tell them apart.
  const hdm::HdmModel model = GridModel(7, 5, quadratic);
  EXPECT_GT(std::abs(*At(model, Interpolation::Bilinear, 1015, 2015) - quadratic(1.5, 1.5) / 1000),
            1e-4);
}

TEST(PointQuery, OutsideTheGridAndBesideNodesWithoutValueIsNull) {
  hdm::HdmModel model = GridModel(5, 5, [](double i, double j) { return i + 10 * j; });
  model.codes[2 * 5 + 2] = hdm::kNullCode;  // node (2, 2) at (1020, 2020)
  const struct {
    Interpolation method;
    double x, y;
    bool null;
  } cases[] = {
      {Interpolation::Bilinear, 1015, 2015, true},     // a corner of its cell
      {Interpolation::Bilinear, 1035, 2035, false},    // the next cell
      {Interpolation::Bilinear, 1010, 2010, false},    // on a node: the others weigh nothing
      {Interpolation::Bilinear, 1020, 2020, true},     // on the node itself
      {Interpolation::Biquadratic, 1005, 2005, true},  // 3×3 nearest around (1, 1)
      {Interpolation::Biquadratic, 1040, 2000, false},
      {Interpolation::Bicubic, 1035, 2035, true},  // 4×4 around the cell (3, 3)
      {Interpolation::Bicubic, 1000, 2000, false},
      {Interpolation::Bilinear, 999.9, 2000, true},  // outside
      {Interpolation::Bilinear, 1040, 2040.1, true},
      {Interpolation::Bicubic, 1040 + 5e-6, 2040, false},  // a millionth of a spacing is on it
      {Interpolation::Bilinear, 1000, 2000 - 5e-6, false},
      {Interpolation::Bilinear, 1000 - 2e-5, 2000, true},  // two millionths are not
  };
  for (const auto& c : cases) {
    EXPECT_EQ(!At(model, c.method, c.x, c.y), c.null)
        << static_cast<int>(c.method) << " at " << c.x << " " << c.y;
  }
}

// Geographical models stored with pi as 3.141592654 (the window, the text readers) or as the
// exact value (grid files): read back with the other value, 35.25° would lie 4.6e-9° off, beyond
// a millionth of a 30" spacing from 64° on. Their positions read back as the degrees they were,
// a point on a corner node is inside and answers that node, and a hundred-thousandth of a
// spacing beyond the south-west corner is outside.
TEST(PointQuery, CornersOfModelsStoredWithEitherPiAreInside) {
  const struct {
    double west, south, spacing;
  } grids[] = {{1, 40.5, 1 / 30.0},
               {5, 35.25, 0.25},
               {5, 50, 0.25},
               {150, 45, 1 / 60.0},
               {-179.5, -75, 1 / 120.0}};
  for (const double pi : {hdm::kRoundedPi, std::numbers::pi}) {
    for (const auto& g : grids) {
      SCOPED_TRACE(testing::Message() << "pi " << pi << " at " << g.west << " " << g.south);
      hdm::HdmModel m = GridModel(5, 5, [](double i, double j) { return i + 10 * j; });
      m.coordinateType = 1;
      m.firstX = g.west * (pi / 180);
      m.firstY = g.south * (pi / 180);
      m.spacingX = m.spacingY = g.spacing * (pi / 180);
      m.lastX = m.firstX + 4 * m.spacingX;
      m.lastY = m.firstY + 4 * m.spacingY;
      const double perDegree = hdm::ModelUnitsPerUserUnit(m);
      EXPECT_EQ(
          hdm::DecimalText(m.firstX / perDegree) + " " + hdm::DecimalText(m.lastY / perDegree),
          hdm::DecimalText(g.west) + " " + hdm::DecimalText(g.south + 4 * g.spacing));
      for (const auto& [i, j] : {std::pair{0, 0}, {4, 0}, {0, 4}, {4, 4}}) {
        const auto value =
            At(m, Interpolation::Bicubic, g.west + i * g.spacing, g.south + j * g.spacing);
        ASSERT_TRUE(value) << i << " " << j;
        EXPECT_NEAR(*value, (i + 10 * j) / 1000.0, 1e-12) << i << " " << j;
      }
      EXPECT_FALSE(At(m, Interpolation::Bilinear, g.west - 1e-5 * g.spacing, g.south));
      EXPECT_FALSE(At(m, Interpolation::Bilinear, g.west, g.south - 1e-5 * g.spacing));
    }
  }
}

TEST(PointQuery, LongitudesWrapOnAGlobalModelOnly) {
  // 8 columns 45° apart from 0°, 3 rows from -45°; millimetres = column index + 100 × row.
  auto globe = [](double firstX, std::int32_t columns) {
    hdm::HdmModel m =
        GridModel(columns, 3, [](double i, double j) { return std::fmod(i, 8) + 100 * j; });
    m.coordinateType = 1;
    m.bodyFlags = 1;
    m.firstX = firstX * kDeg;
    m.firstY = -45 * kDeg;
    m.spacingX = m.spacingY = 45 * kDeg;
    return m;
  };
  const hdm::HdmModel global = globe(0, 8), repeated = globe(0, 9), west = globe(-180, 8);
  std::int32_t period = 0;
  ASSERT_TRUE(hdm::IsGlobal(global, period));
  EXPECT_EQ(period, 8);
  ASSERT_TRUE(hdm::IsGlobal(repeated, period));  // 0..360 with 360 repeating 0
  EXPECT_EQ(period, 8);
  hdm::HdmModel minutes;  // 1' columns stored with pi as 3.141592654 close the circle too
  minutes.coordinateType = 1;
  minutes.nodes = 21600;
  minutes.rows = 1;
  minutes.spacingX = minutes.spacingY = hdm::kRoundedPi / 180 / 60;
  minutes.lastX = (minutes.nodes - 1) * minutes.spacingX;
  ASSERT_TRUE(hdm::IsGlobal(minutes, period));
  EXPECT_EQ(period, 21600);
  const struct {
    const hdm::HdmModel* model;
    Interpolation method;
    double lon;
    double mm;
  } cases[] = {
      {&global, Interpolation::Bilinear, 337.5, 103.5},  // between column 7 (315°) and 0 (360°)
      {&global, Interpolation::Bilinear, -22.5, 103.5},
      {&global, Interpolation::Bilinear, 697.5, 103.5},
      {&global, Interpolation::Bilinear, 180, 104},
      {&global, Interpolation::Bilinear, -180, 104},
      {&repeated, Interpolation::Bilinear, -22.5, 103.5},
      {&west, Interpolation::Bilinear, 180, 100},  // column 0 is -180°
      {&west, Interpolation::Bilinear, 157.5, 103.5},
      {&global, Interpolation::Biquadratic, 360, 100},  // windows across the seam
      {&global, Interpolation::Bicubic, 0, 100},
  };
  for (const auto& c : cases) {
    const auto value = At(*c.model, c.method, c.lon, 0);
    ASSERT_TRUE(value) << c.lon;
    EXPECT_NEAR(*value, c.mm / 1000, 1e-12) << c.lon;
  }
  // The same columns over 315° only: nothing between the last column and the first, but a
  // longitude given the other way round still finds its place.
  hdm::HdmModel regional = globe(0, 8);
  regional.spacingX = 40 * kDeg;
  EXPECT_FALSE(hdm::IsGlobal(regional, period));
  EXPECT_FALSE(At(regional, Interpolation::Bilinear, 300, 0));
  EXPECT_NEAR(*At(regional, Interpolation::Bilinear, -100, 0), 0.1065, 1e-12);  // 260°
}

TEST(PointQuery, ShortAxesFallBackToSimplerMethods) {
  const hdm::HdmModel row = GridModel(4, 1, [](double i, double) { return 10 * i; });
  for (auto method :
       {Interpolation::Bilinear, Interpolation::Biquadratic, Interpolation::Bicubic}) {
    EXPECT_NEAR(*At(row, method, 1015, 2000), 0.015, 1e-12);
    EXPECT_FALSE(At(row, method, 1015, 2000.1));
  }
  const hdm::HdmModel two = GridModel(2, 2, [](double i, double j) { return i + 2 * j; });
  EXPECT_NEAR(*At(two, Interpolation::Bicubic, 1005, 2005), 0.0015, 1e-12);
}

// A model of more than a megabyte written to disk: random access answers as the whole model.
TEST(PointQuery, RandomAccessAnswersAsTheModelReadWhole) {
  TempDir dir;
  TestModel m;
  m.bodyFlags = 2 | HDM_FLAG_INTERPOLATION_16;
  m.rows = 700;
  const std::int32_t columns = 900;
  m.lastX = m.firstX + (columns - 1) * m.spacingX;
  m.lastY = m.firstY + (m.rows - 1) * m.spacingY;
  m.separations.resize(static_cast<std::size_t>(columns * m.rows));
  m.nullFlags.assign(m.separations.size(), 0);
  for (std::size_t k = 0; k < m.separations.size(); ++k) {
    m.separations[k] = 40 + std::sin(static_cast<double>(k) * 0.01);
  }
  m.nullFlags[12345] = -1;
  const std::string path = dir.File("large.HDM");
  ASSERT_EQ(WriteModel(path, m).points, HDM_OK);
  const auto whole = hdm::ReadHdmFile(path);
  std::string error;
  const auto reader = hdm::HdmFileReader::Open(path, error);
  ASSERT_TRUE(whole.model && reader) << error;
  hdm::HdmMemoryNodes memory(*whole.model);
  hdm::PointQuery fromFile(*reader, Interpolation::Bicubic);
  hdm::PointQuery fromMemory(memory, Interpolation::Bicubic);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> x(990, 10000), y(1990, 9000);
  for (int k = 0; k < 500; ++k) {
    std::optional<double> a, b;
    const hdm::QueryPoint point{x(random), y(random)};
    ASSERT_TRUE(fromFile.At(point, a));
    ASSERT_TRUE(fromMemory.At(point, b));
    EXPECT_EQ(a, b);
  }
}

}  // namespace
}  // namespace hextant::test
