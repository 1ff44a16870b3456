#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>

#include "base/angles.h"
#include "readers/norway_reader.h"
#include "readers/reader_fixture.h"

namespace hextant::test {
namespace {

// A Norway file: header from the extent in degrees, then `rows` × blocks of 16 floats, each
// node's value given by `value(row, column)` (0-based, north first) and 9999 as filler.
struct NorwayFile {
  double latMin = 60.0, latMax = 60.1, lonMin = 5.0, lonMax = 5.2, dLat = 0.1, dLon = 0.1;
  std::int32_t utm = 0, ellipsoid = 1;
  std::function<float(int, int)> value = [](int r, int c) {
    return 40.0f + static_cast<float>(r) + static_cast<float>(c) / 100.0f;
  };

  std::string Bytes(int rows, int columns) const {
    std::string bytes(4, '\0');
    for (double d : {latMin, latMax, lonMin, lonMax, dLat, dLon}) {
      bytes.append(reinterpret_cast<const char*>(&d), 8);
    }
    for (std::int32_t i : {utm, ellipsoid, 0}) {
      bytes.append(reinterpret_cast<const char*>(&i), 4);
    }
    const int slots = (columns + 15) / 16 * 16;
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < slots; ++c) {
        const float v = c < columns ? value(r, c) : 9999.0f;
        bytes.append(reinterpret_cast<const char*>(&v), 4);
      }
    }
    return bytes;
  }
};

TEST_F(ReaderTest, NorwayReadsBlocksOf16AndDropsTheFiller) {
  for (int columns : {16, 20, 32}) {
    NorwayFile file;
    file.lonMax = file.lonMin + (columns - 1) * file.dLon;
    file.value = [](int r, int c) { return c >= 16 ? 70.0f : 40.0f + static_cast<float>(r); };
    ASSERT_TRUE(Read(ConvertFileNorway, file.Bytes(2, columns))) << failure_.Description();
    ASSERT_EQ(Points().Count(), 2 * columns) << columns;
    EXPECT_EQ(Points().Node(columns + 1).Separation, 41.0) << "row 2 starts after the filler";
  }
}

TEST_F(ReaderTest, NorwaySetsTheSettingsFromItsHeader) {
  const std::pair<std::int32_t, std::int16_t> ellipsoids[] = {{1, 24}, {2, 19}, {3, 7}, {4, 5}};
  for (const auto& [iEll, code] : ellipsoids) {
    settings_.EllipsoidCode = 5;  // as chosen in the window
    NorwayFile file;
    file.ellipsoid = iEll;
    file.utm = iEll == 2 ? 1 : 0;
    ASSERT_TRUE(Read(ConvertFileNorway, file.Bytes(2, 3)));
    EXPECT_EQ(settings_.EllipsoidCode, code) << iEll;
    EXPECT_EQ(settings_.CoordinateType, iEll == 2 ? Grid : Geographical);
  }
  EXPECT_EQ(settings_.CodeFilter, "9999.0000");
  EXPECT_DOUBLE_EQ(settings_.SpacingX, DegToRad(0.1));
}

TEST_F(ReaderTest, NorwayMarksNoValueByItsFourDecimalText) {
  NorwayFile file;
  // No float lies between 9999.0 and 9999.00005, so "9999.0000" means 9999.0; its neighbour
  // 9999.0009765625 reads "9999.0010" and is a value.
  const float nearly = std::nextafter(9999.0f, 10000.0f);
  file.value = [&](int, int c) {
    const float values[] = {9999.0f, 9998.99f, nearly, 9999.00004f, 12.345678f, 3.0f};
    return values[c];
  };
  file.lonMax = 5.5;
  file.latMax = file.latMin;
  ASSERT_TRUE(Read(ConvertFileNorway, file.Bytes(1, 6))) << failure_.Description();
  EXPECT_EQ(Points().Node(1).NullFlag, NullFlagSet);
  EXPECT_EQ(Points().Node(2).Separation, 9998.9902);
  EXPECT_EQ(Points().Node(3).Separation, 9999.001);
  EXPECT_EQ(Points().Node(4).NullFlag, NullFlagSet);
  EXPECT_EQ(Points().Node(5).Separation, 12.3457);
}

TEST_F(ReaderTest, NorwayRefusesBrokenFiles) {
  const auto fail = [&](const std::string& bytes, int number, const char* why) {
    ExpectFailure(ConvertFileNorway, bytes, number, why, "ConvertFileNorway");
  };
  NorwayFile file;
  const std::string good = file.Bytes(2, 3);
  fail(good.substr(0, 63), ReaderFormatError, "shorter than its 64-byte header");
  fail(good.substr(0, good.size() - 1), ReaderFormatError, "fewer than the header's 2 rows");
  file.dLon = 0.0;
  fail(file.Bytes(2, 3), ErrorInvalidSpacing, "node spacing");
  file.dLon = 1e-4;
  file.lonMax = 9.0;  // 40001 columns
  fail(file.Bytes(0, 0), ErrorOverflow, "too many columns");
  NorwayFile far;
  far.latMin = 100;
  far.latMax = 100.1;
  fail(far.Bytes(2, 3), ReaderFormatError, "southern latitude is 100 degrees, beyond \u00b190");
  far = NorwayFile{};
  far.dLon = 1e300;
  fail(far.Bytes(2, 3), ReaderFormatError, "longitude spacing is 1e+300 degrees");
}

}  // namespace
}  // namespace hextant::test
