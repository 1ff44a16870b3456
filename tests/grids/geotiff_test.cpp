#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "grid_test_support.h"

namespace hextant {
namespace {

using grid_test::Read;

// A classic little-endian TIFF of one uncompressed strip, built tag by tag so that a test can give
// any tag any value. Strip offset and byte count are filled in unless set.
class TiffBuilder {
 public:
  template <typename T>
  TiffBuilder& Set(std::uint16_t tag, std::uint16_t type, const std::vector<T>& values) {
    std::string bytes(values.size() * sizeof(T), '\0');
    std::memcpy(bytes.data(), values.data(), bytes.size());  // the test machine is little-endian
    entries_[tag] = {type, static_cast<std::uint32_t>(values.size()), bytes};
    return *this;
  }
  TiffBuilder& Short(std::uint16_t tag, std::vector<std::uint16_t> v) { return Set(tag, 3, v); }
  TiffBuilder& Long(std::uint16_t tag, std::vector<std::uint32_t> v) { return Set(tag, 4, v); }
  TiffBuilder& Doubles(std::uint16_t tag, std::vector<double> v) { return Set(tag, 12, v); }
  TiffBuilder& Ascii(std::uint16_t tag, const std::string& text) {
    return Set(tag, 2, std::vector<char>(text.c_str(), text.c_str() + text.size() + 1));
  }
  TiffBuilder& Remove(std::uint16_t tag) {
    entries_.erase(tag);
    return *this;
  }

  // A whole file; or, with an even `origin`, a further image to append to a file of that size.
  std::string Build(const std::string& pixels, std::size_t origin = 0) {
    if (!entries_.count(279)) {
      Long(279, {static_cast<std::uint32_t>(pixels.size())});
    }
    Long(273, {0});  // placed below, once the size of the directory is known
    const std::size_t directory = origin == 0 ? 8 : origin;
    const std::size_t dataStart = directory + 2 + 12 * entries_.size() + 4;
    std::string out = origin == 0 ? std::string("II*\0", 4) + Le<std::uint32_t>(8) : std::string();
    std::string data;
    const auto pixelsAt = [&] { return dataStart + Padded(data).size(); };
    for (auto& [tag, e] : entries_) {
      if (tag != 273 && e.bytes.size() > 4) {
        data = Padded(data) + e.bytes;
      }
    }
    entries_[273].bytes = Le<std::uint32_t>(static_cast<std::uint32_t>(pixelsAt()));
    out += Le<std::uint16_t>(static_cast<std::uint16_t>(entries_.size()));
    std::size_t at = dataStart;
    for (const auto& [tag, e] : entries_) {
      out += Le(tag) + Le(e.type) + Le(e.count);
      if (e.bytes.size() <= 4) {
        out += e.bytes + std::string(4 - e.bytes.size(), '\0');
      } else {
        at += at % 2;
        out += Le<std::uint32_t>(static_cast<std::uint32_t>(at));
        at += e.bytes.size();
      }
    }
    return out + Le<std::uint32_t>(0) + Padded(data) + pixels;
  }
  std::size_t Entries() const { return entries_.size(); }

 private:
  struct Entry {
    std::uint16_t type;
    std::uint32_t count;
    std::string bytes;
  };
  template <typename T>
  static std::string Le(T value) {
    std::string bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
  }
  static std::string Padded(const std::string& data) {
    return data + std::string(data.size() % 2, '\0');
  }
  std::map<std::uint16_t, Entry> entries_;
};

template <typename T>
std::string Pixels(const std::vector<T>& values) {
  std::string bytes(values.size() * sizeof(T), '\0');
  std::memcpy(bytes.data(), values.data(), bytes.size());
  return bytes;
}

// 2 rows of 3 Float32 pixels, pixel-is-area, 0.5° apart, their centres from 20E 10N.
TiffBuilder Base(std::uint16_t bits = 32, std::uint16_t format = 3, std::uint16_t samples = 1) {
  TiffBuilder b;
  b.Long(256, {3}).Long(257, {2}).Short(258, std::vector<std::uint16_t>(samples, bits));
  b.Short(259, {1}).Short(262, {1}).Short(277, {samples}).Long(278, {2}).Short(284, {1});
  b.Short(339, std::vector<std::uint16_t>(samples, format));
  b.Doubles(33550, {0.5, 0.5, 0}).Doubles(33922, {0, 0, 0, 19.75, 10.75, 0});
  b.Short(34735, {1, 1, 0, 2, 1024, 0, 1, 2, 1025, 0, 1, 1});
  return b;
}

// Two images in one file, the second's directory linked from the first's.
std::string TwoImages(TiffBuilder first, TiffBuilder second, const std::string& pixels) {
  std::string file = first.Build(pixels);
  file += std::string(file.size() % 2, '\0');
  const auto at = static_cast<std::uint32_t>(file.size());
  std::memcpy(file.data() + 8 + 2 + 12 * first.Entries(), &at, sizeof at);
  return file + second.Build(pixels, file.size());
}

std::string Metadata(const std::string& items) {
  return "<GDALMetadata>\n" + items + "</GDALMetadata>\n";
}

const std::string FloatPixels = Pixels<float>({4, 5, 6, 1, 2, -32768});

TEST(GeoTiff, ReadsEveryVariantAtItsPlace) {
  const struct {
    std::string name, file, text;
    bool geographical;
    double west, south, dx, dy;
    std::vector<double> southToNorth;
  } cases[] = {
      {"Float32, area, no-value, an overview after it",
       TwoImages(Base().Ascii(42113, "-32768"), Base().Long(254, {1}), FloatPixels),
       "GeoTIFF (Float32, striped, no compression, pixel-is-area)",
       true,
       20,
       10,
       0.5,
       0.5,
       {1, 2, NAN, 4, 5, 6}},
      {"Int16 with GDAL's scale and offset in feet",
       Base(16, 2)
           .Ascii(42112,
                  Metadata("<Item name=\"SCALE\" sample=\"0\" role=\"scale\">0.5</Item>"
                           "<Item name=\"OFFSET\" sample=\"0\" role=\"offset\">10</Item>"
                           "<Item name=\"UNITTYPE\" sample=\"0\" role=\"unittype\">ft</Item>"))
           .Build(Pixels<std::int16_t>({2, 4, -20, 0, -2, 6})),
       "GeoTIFF (Int16, striped, no compression, pixel-is-area)",
       true,
       20,
       10,
       0.5,
       0.5,
       {3.048, 2.7432, 3.9624, 3.3528, 3.6576, 0}},
      {"Float64, projected, ModelTransformation, pixel-is-point",
       Base(64)
           .Remove(33550)
           .Remove(33922)
           .Doubles(34264, {1000, 0, 0, 480000, 0, -500, 0, 75500, 0, 0, 0, 0, 0, 0, 0, 1})
           .Short(34735, {1, 1, 0, 2, 1024, 0, 1, 1, 1025, 0, 1, 2})
           .Build(Pixels<double>({4, 5, 6, 1, 2, 3})),
       "GeoTIFF (Float64, striped, no compression, pixel-is-point)",
       false,
       480000,
       75000,
       1000,
       500,
       {1, 2, 3, 4, 5, 6}},
      {"UInt16, second band the geoid, rows from the south, no GeoKeys",
       Base(16, 1, 2)
           .Remove(34735)
           .Doubles(33550, {0.5, -0.5, 0})
           .Doubles(33922, {0, 0, 0, 19.75, 9.75, 0})
           .Ascii(42112, Metadata("<Item name=\"DESCRIPTION\" sample=\"1\" role=\"description\">"
                                  "geoid_undulation</Item>"))
           .Build(Pixels<std::uint16_t>({9, 1, 9, 2, 9, 3, 9, 4, 9, 5, 9, 6})),
       "GeoTIFF (UInt16, striped, no compression, pixel-is-area)",
       true,
       20,
       10,
       0.5,
       0.5,
       {1, 2, 3, 4, 5, 6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Read r(c.file);
    ASSERT_TRUE(r.status) << r.status.Description();
    EXPECT_EQ(DescribeGrid(r.grid).front(), c.text);
    EXPECT_EQ(r.grid.Geographical, c.geographical);
    grid_test::ExpectSixNodes(r, c.west, c.south, c.dx, c.dy, c.southToNorth, 1e-12);
  }
}

TEST(GeoTiff, ShowsPROJsMetadataInTheSummary) {
  std::ifstream sample(HEXTANT_SAMPLES_DIR "/egm96_proj.tif", std::ios::binary);
  const Read r(std::string(std::istreambuf_iterator<char>(sample), {}));
  ASSERT_TRUE(r.status) << r.status.Description();
  const std::vector<std::string> lines = DescribeGrid(r.grid);
  EXPECT_EQ(lines.front(),
            "GeoTIFF (Float32, tiled 16 x 16, DEFLATE, floating-point predictor, pixel-is-point)");
  EXPECT_EQ(lines.back(),
            "TYPE=VERTICAL_OFFSET_GEOGRAPHIC_TO_VERTICAL; band 1 of 1 \"geoid_undulation\", unit "
            "metre");
}

TEST(GeoTiff, RefusesBrokenFilesSayingWhy) {
  const struct {
    std::string file;
    std::string why;
  } cases[] = {
      {Base().Build(FloatPixels.substr(0, 12)),
       "strip 0 (from pixel row 1, column 1) cannot be read"},
      {Base().Long(256, {30000}).Long(257, {20000}).Build(FloatPixels),
       "promises 20000 x 30000 pixels of 4 bytes, but its 24 bytes of data cannot hold them"},
      {Base().Doubles(33550, {0, 0.5, 0}).Build(FloatPixels), "gives the pixel size 0 x 0.5"},
      {Base().Short(259, {7}).Build(FloatPixels), "is compressed with JPEG (7)"},
      {Base(64, 6).Build(FloatPixels), "holds 64-bit complex numbers"},
      {Base(8, 1).Build(FloatPixels), "holds 8-bit unsigned integers"},
      {Base()
           .Remove(33550)
           .Doubles(34264, {0.5, 0.1, 0, 19.75, 0.1, -0.5, 0, 10.75, 0, 0, 0, 0, 0, 0, 0, 1})
           .Build(FloatPixels),
       "is rotated (its ModelTransformation has the terms 0.1 and 0.1 off the diagonal)"},
      {Base().Remove(33550).Remove(33922).Build(FloatPixels), "has no georeferencing"},
      {Base()
           .Ascii(42112, Metadata("<Item name=\"UNITTYPE\" sample=\"0\" role=\"unittype\">"
                                  "furlong</Item>"))
           .Build(FloatPixels),
       "gives its values in 'furlong'"},
      {Base().Short(34735, {1, 1, 0, 1, 1024, 0, 1, 3}).Build(FloatPixels), "has the model type 3"},
      {Base().Short(34735, {1, 1, 0, 2, 1024, 0, 1, 2, 2054, 0, 1, 9101}).Build(FloatPixels),
       "gives its angles in the unit 9101"},
      {Base().Ascii(42113, "none").Build(FloatPixels), "gives the no-value 'none'"},
      {std::string("II*\0\x0f\x27\0\0", 8) + FloatPixels, "the TIFF cannot be opened"},
      {TwoImages(Base(), Base(), FloatPixels), "holds 2 grids at full resolution"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const Read r(c.file);
    EXPECT_FALSE(r.status);
    EXPECT_NE(r.status.Description().find(c.why), std::string::npos) << r.status.Description();
  }
}

}  // namespace
}  // namespace hextant
