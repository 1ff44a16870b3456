#include "grid_export.h"

#include <bit>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "model_units.h"
#include "staged_file.h"
#include "utf8_path.h"

namespace hdm {
namespace {

constexpr std::int32_t kRowsPerBlock = 256;

void PutBig(std::string& out, std::uint64_t bits, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
    out.push_back(static_cast<char>((bits >> shift) & 0xFFu));
  }
}

void PutBigDouble(std::string& out, double value) {
  PutBig(out, std::bit_cast<std::uint64_t>(value), 8);
}

std::string Fixed(double value, int decimals, int width = 0) {
  char text[64];
  std::snprintf(text, sizeof text, "%*.*f", width, decimals, value);
  return text;
}

// The model's grid in the units of the exports: degrees or metres.
struct Grid {
  double west, south, dx, dy;
  std::int32_t rows, columns;
  int valueDecimals;
  bool geographical;
};

Grid GridOf(const HdmModel& h) {
  const double scale = ModelUnitsPerUserUnit(h);
  return Grid{h.firstX / scale,
              h.firstY / scale,
              h.spacingX / scale,
              h.spacingY / scale,
              h.rows,
              h.Columns(),
              h.resolutionCode == 1 ? 3 : 2,
              h.coordinateType == 1};
}

std::string IsgHeader(const HdmModel& h, const Grid& g, const std::string& path) {
  const auto today = std::chrono::year_month_day(
      std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
  char date[16];
  std::snprintf(date, sizeof date, "%02u/%02u/%04d", static_cast<unsigned>(today.day()),
                static_cast<unsigned>(today.month()), static_cast<int>(today.year()));
  const char* y = g.geographical ? "lat" : "north";
  const char* x = g.geographical ? "lon" : "east";
  const auto number = [&](const std::string& key, const std::string& value) {
    std::string line = key;
    line.resize(15, ' ');
    return line + "= " + value + "\n";
  };
  const auto text = [&](const std::string& key, const std::string& value) {
    std::string line = key;
    line.resize(15, ' ');
    return line + ": " + (value.empty() ? "---" : value) + "\n";
  };
  std::string out = "begin_of_head ================================================\n";
  out += text("model name", std::filesystem::path(path).stem().string());
  out += text("model year", "") + text("model type", "") + text("data type", "geoid");
  out += text("data units", "meters") + text("data format", "grid");
  out += text("data ordering", "N-to-S, W-to-E") + text("ref ellipsoid", h.ellipsoidName);
  out += text("ref frame", "") + text("height datum", "") + text("tide system", "");
  out += text("coord type", g.geographical ? "geodetic" : "projected");
  out += text("coord units", g.geographical ? "deg" : "meters");
  out += text("map projection", "") + text("EPSG code", "");
  out += number(std::string(y) + " min", DecimalText(g.south));
  out += number(std::string(y) + " max", DecimalText(g.south + (g.rows - 1) * g.dy));
  out += number(std::string(x) + " min", DecimalText(g.west));
  out += number(std::string(x) + " max", DecimalText(g.west + (g.columns - 1) * g.dx));
  out += number(std::string("delta ") + y, DecimalText(g.dy));
  out += number(std::string("delta ") + x, DecimalText(g.dx));
  out += number("nrows", std::to_string(g.rows)) + number("ncols", std::to_string(g.columns));
  out += number("nodata", Fixed(kIsgNoData, 4)) + number("creation date", date);
  out += number("ISG format", "2.0");
  out += "end_of_head ==================================================\n";
  return out;
}

// Appends rows `first`..`first + codes.size() / columns - 1` to `out`.
void AppendRows(ExportFormat format, const HdmModel& h, const Grid& g, std::int32_t first,
                const std::vector<std::int16_t>& codes, std::string& out) {
  const auto columns = static_cast<std::size_t>(g.columns);
  const auto rows = static_cast<std::int32_t>(codes.size() / columns);
  for (std::int32_t r = 0; r < rows; ++r) {
    // ISG runs north to south: its blocks come top first, each read bottom up.
    const std::int32_t k = format == ExportFormat::Isg ? rows - 1 - r : r;
    const std::int16_t* row = codes.data() + static_cast<std::size_t>(k) * columns;
    for (std::size_t c = 0; c < columns; ++c) {
      const auto value = h.SeparationOf(row[c]);
      if (format == ExportFormat::Gtx) {
        const float f = value ? static_cast<float>(*value) : kGtxNoData;
        PutBig(out, std::bit_cast<std::uint32_t>(f), 4);
      } else if (format == ExportFormat::Isg) {
        out += Fixed(value ? *value : kIsgNoData, value ? g.valueDecimals : 4, 11);
      } else if (value) {
        out += DecimalText(g.west + static_cast<double>(c) * g.dx) + ' ' +
               DecimalText(g.south + (first + k) * g.dy) + ' ' + Fixed(*value, g.valueDecimals) +
               '\n';
      }
    }
    if (format == ExportFormat::Isg) {
      out += '\n';
    }
  }
}

}  // namespace

std::optional<ExportFormat> ExportFormatNamed(std::string_view name) noexcept {
  if (name == "gtx") {
    return ExportFormat::Gtx;
  }
  if (name == "isg") {
    return ExportFormat::Isg;
  }
  if (name == "xyz") {
    return ExportFormat::Xyz;
  }
  return std::nullopt;
}

bool ExportModel(HdmNodes& nodes, ExportFormat format, const std::string& path,
                 std::string& error) {
  const HdmModel& h = nodes.Header();
  if (!h.IsRegular()) {
    error = path + ": the model is not a regular grid";
    return false;
  }
  if (format == ExportFormat::Gtx && h.coordinateType != 1) {
    error = path + ": GTX holds geographical grids only; this model has grid coordinates";
    return false;
  }
  const Grid g = GridOf(h);
  StagedFile file(PathFromUtf8(path));
  const auto failed = [&](int code) {
    error = path + ": cannot be written: " + std::strerror(code != 0 ? code : EIO);
    return false;
  };
  if (!file.IsOpen()) {
    return failed(file.Error());
  }
  std::string out;
  if (format == ExportFormat::Gtx) {
    for (double v : {g.south, g.west, g.dy, g.dx}) {
      PutBigDouble(out, NearestDecimal(v));
    }
    PutBig(out, static_cast<std::uint32_t>(g.rows), 4);
    PutBig(out, static_cast<std::uint32_t>(g.columns), 4);
  } else if (format == ExportFormat::Isg) {
    out = IsgHeader(h, g, path);
  }
  std::vector<std::int16_t> codes;
  for (std::int32_t block = 0; block < g.rows; block += kRowsPerBlock) {
    const std::int32_t count = std::min(kRowsPerBlock, g.rows - block);
    const std::int32_t first = format == ExportFormat::Isg ? g.rows - block - count : block;
    if (!nodes.ReadRows(first, count, codes)) {
      error = nodes.Error();
      return false;
    }
    AppendRows(format, h, g, first, codes, out);
    if (!file.Write(out.data(), out.size())) {
      return failed(file.Error());
    }
    out.clear();
  }
  return file.Commit() ? true : failed(file.Error());
}

}  // namespace hdm
