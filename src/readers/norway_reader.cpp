#include "readers/norway_reader.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <sstream>
#include <vector>

#include "base/angles.h"
#include "base/rounding.h"
#include "readers/reader_support.h"

namespace hextant {
namespace {

constexpr const char* kProcedure = "ConvertFileNorway";
constexpr const char* kNoValueText = "9999.0000";
constexpr std::size_t kHeaderSize = 64;
constexpr std::int32_t kValuesPerBlock = 16;
constexpr std::int32_t kBlockSize = kValuesPerBlock * 4;

struct NorwayHeader {
  double yOrigin, yMax, xOrigin, xMax, ySpacing, xSpacing;  // radians
  std::int32_t utm, ellipsoid;
  std::int32_t columns, rows, blocksPerRow;
};

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

double F64(const std::uint8_t* p) {
  return std::bit_cast<double>(U32(p) | static_cast<std::uint64_t>(U32(p + 4)) << 32);
}

Status FormatError(const std::string& why) {
  return Status::Error(ReaderFormatError, why);
}

// A count of nodes along one axis: (max - origin) / spacing + 1, halves to even, in 1..32767.
Status GridCount(double origin, double max, double spacing, const char* axis, std::int32_t& count) {
  const auto rounded = RoundHalfEvenToInt32((max - origin) / spacing + 1.0);
  if (!rounded || *rounded > 32767) {
    return Status::Error(ErrorOverflow, std::string("Overflow: too many ") + axis);
  }
  if (*rounded < 1) {
    return FormatError(std::string("the header gives no ") + axis);
  }
  count = *rounded;
  return Status::Ok();
}

// Latitudes within ±90°, longitudes within ±360° and spacings within them, as the window takes
// them: a header beyond that is no geographical grid.
Status CheckGeographicalHeader(const NorwayHeader& h) {
  constexpr double kDegree = DegToRad(1.0);
  const struct {
    const char* what;
    double value, limit;
  } checks[] = {{"southern latitude", h.yOrigin, 90},  {"northern latitude", h.yMax, 90},
                {"western longitude", h.xOrigin, 360}, {"eastern longitude", h.xMax, 360},
                {"latitude spacing", h.ySpacing, 180}, {"longitude spacing", h.xSpacing, 360}};
  for (const auto& c : checks) {
    if (!(std::abs(c.value) <= c.limit * kDegree)) {
      return FormatError(std::string("the header's ") + c.what + " is " +
                         NumberText(c.value / kDegree) + " degrees, beyond ±" +
                         NumberText(c.limit));
    }
  }
  return Status::Ok();
}

Status ReadHeader(std::istream& source, std::uint64_t size, NorwayHeader& h) {
  std::array<std::uint8_t, kHeaderSize> bytes{};
  source.read(reinterpret_cast<char*>(bytes.data()), kHeaderSize);
  if (static_cast<std::size_t>(source.gcount()) != kHeaderSize) {
    return FormatError("the file is shorter than its 64-byte header");
  }
  double* degrees[] = {&h.yOrigin, &h.yMax, &h.xOrigin, &h.xMax, &h.ySpacing, &h.xSpacing};
  for (std::size_t i = 0; i < 6; ++i) {
    *degrees[i] = DegToRad(F64(bytes.data() + 4 + 8 * i));
  }
  h.utm = static_cast<std::int32_t>(U32(bytes.data() + 52));
  h.ellipsoid = static_cast<std::int32_t>(U32(bytes.data() + 56));
  if (Status s = CheckSpacings(h.xSpacing, h.ySpacing); !s) {
    return s;
  }
  if (h.utm == 0) {
    if (Status s = CheckGeographicalHeader(h); !s) {
      return s;
    }
  }
  if (Status s = GridCount(h.xOrigin, h.xMax, h.xSpacing, "columns", h.columns); !s) {
    return s;
  }
  if (Status s = GridCount(h.yOrigin, h.yMax, h.ySpacing, "rows", h.rows); !s) {
    return s;
  }
  h.blocksPerRow = (h.columns + kValuesPerBlock - 1) / kValuesPerBlock;
  const std::uint64_t body =
      static_cast<std::uint64_t>(h.rows) * static_cast<std::uint64_t>(h.blocksPerRow) * kBlockSize;
  if (size < kHeaderSize + body) {
    return FormatError("the body holds fewer than the header's " + std::to_string(h.rows) +
                       " rows");
  }
  return Status::Ok();
}

void ApplyHeader(const NorwayHeader& h, ConversionSettings& settings) {
  settings.SpacingX = h.xSpacing;
  settings.SpacingY = h.ySpacing;
  settings.CoordinateType = h.utm == 0 ? Geographical : Grid;
  constexpr std::int16_t kCodes[] = {Wgs1984Code, 19, 7};  // WGS 1984, Hayford, Clarke 1866
  if (h.ellipsoid >= 1 && h.ellipsoid <= 3) {
    settings.EllipsoidCode = kCodes[h.ellipsoid - 1];
  }
}

// The trackers start at the marker 9999.0 and keep the largest in single precision.
struct NorwayRange {
  double smallest = 9999.0;
  float largest = 9999.0f;
  void Take(double value) {
    if (smallest == 9999.0) {
      smallest = value;
      largest = static_cast<float>(value);
    }
    if (value > largest) {
      largest = static_cast<float>(value);
    } else if (value < smallest) {
      smallest = value;
    }
  }
};

Status ReadBody(std::istream& source, std::uint64_t size, const NorwayHeader& h,
                ReaderEnvironment& env, NorwayRange& range) {
  ConversionSettings& settings = env.Settings;
  PointList& points = settings.PointList;
  points.Clear();
  if (!points.Reserve(h.rows * h.columns)) {
    return Status::Error(ErrorOutOfMemory, "Out of memory");
  }
  std::vector<std::uint8_t> row(static_cast<std::size_t>(h.blocksPerRow) * kBlockSize);
  std::vector<std::string> texts(static_cast<std::size_t>(h.columns));
  for (std::int32_t r = 1; r <= h.rows; ++r) {
    source.read(reinterpret_cast<char*>(row.data()), static_cast<std::streamsize>(row.size()));
    if (static_cast<std::size_t>(source.gcount()) != row.size()) {
      return Status::Error(ErrorInputPastEnd, "Input past end of file");
    }
    for (std::size_t j = 0; j < texts.size(); ++j) {
      texts[j] = FormatWithPoint(std::bit_cast<float>(U32(row.data() + 4 * j)), "0.0000");
    }
    env.Progress.ShowReadProgress(size, kHeaderSize + static_cast<std::uint64_t>(r) * row.size());
    const double y = h.yMax - (r - 1) * h.ySpacing;
    for (std::int32_t j = 1; j <= h.columns; ++j) {
      const std::string& text = texts[static_cast<std::size_t>(j - 1)];
      GeoidPoint node{(j - 1) * h.xSpacing + h.xOrigin, y, NullSeparation, NullFlagSet};
      if (text != settings.CodeFilter) {
        node.Separation = ParseDecimal(text);
        node.NullFlag = 0.0;
        range.Take(node.Separation);
      }
      points.Append(node);
    }
  }
  return Status::Ok();
}

Status ReadNorway(std::istream& source, std::uint64_t size, ReaderEnvironment& env,
                  ReaderOutput& output) {
  NorwayHeader header{};
  if (Status s = ReadHeader(source, size, header); !s) {
    return s;
  }
  ApplyHeader(header, env.Settings);
  NorwayRange range;
  if (Status s = ReadBody(source, size, header, env, range); !s) {
    return s;
  }
  return FinishRange(range.smallest, range.largest, output);
}

}  // namespace

bool ConvertFileNorway(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                       ReaderOutput& output, Status* failure) {
  env.Progress.ShowBar();
  env.Settings.CodeFilter = kNoValueText;
  return RunReader(kProcedure, env, failure,
                   [&] { return ReadNorway(source, sizeInBytes, env, output); });
}

bool FitsNorwayHeader(std::string_view head, std::uint64_t sizeInBytes) {
  std::istringstream source{std::string(head.substr(0, kHeaderSize))};
  NorwayHeader header{};
  if (!ReadHeader(source, sizeInBytes, header)) {
    return false;
  }
  const auto body = static_cast<std::uint64_t>(header.rows) *
                    static_cast<std::uint64_t>(header.blocksPerRow) * kBlockSize;
  return sizeInBytes == kHeaderSize + body;
}

bool ConvertFileNorway(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                       ReaderOutput& output, Status* failure) {
  return ReadSourceFile(sourceFile, kProcedure, ConvertFileNorway, env, output, failure);
}

}  // namespace hextant
