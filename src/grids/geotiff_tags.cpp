#include "grids/geotiff_tags.h"

#include <cmath>
#include <optional>

#include "text/text_parsing.h"

namespace hextant {
namespace {

// GeoKeys and their codes (GeoTIFF 1.0/1.1).
constexpr std::uint16_t KeyModelType = 1024;
constexpr std::uint16_t KeyRasterType = 1025;
constexpr std::uint16_t KeyAngularUnits = 2054;
constexpr std::uint16_t KeyLinearUnits = 3076;
constexpr std::uint16_t ModelProjected = 1;
constexpr std::uint16_t ModelGeographic = 2;
constexpr std::uint16_t RasterPixelIsPoint = 2;
constexpr std::uint16_t UnitDegree = 9102;
constexpr std::uint16_t UnitMetre = 9001;
constexpr std::uint16_t UnitFoot = 9002;

Status TagError(const std::string& why) {
  return Status::Error(ErrorFileFormat, "the GeoTIFF " + why);
}

// The value of a GeoKey stored in the directory itself; nullopt when absent. A directory that
// claims more keys than it holds is read as far as it goes.
std::optional<std::uint16_t> GeoKey(const std::vector<std::uint16_t>& keys, std::uint16_t id) {
  if (keys.size() < 4) {
    return std::nullopt;
  }
  for (std::size_t at = 4, n = 0; n < keys[3] && at + 4 <= keys.size(); at += 4, ++n) {
    if (keys[at] == id && keys[at + 1] == 0) {
      return keys[at + 3];
    }
  }
  return std::nullopt;
}

// The raster's pixel (0, 0) corner in model coordinates and the pixel size, y growing down.
struct Affine {
  double x0, y0, dx, dy;
};

Status ReadAffine(const GeoTiffPlacement& tags, Affine& affine) {
  if (tags.Transformation.size() >= 16) {
    const std::vector<double>& m = tags.Transformation;
    if (m[1] != 0 || m[4] != 0) {
      return TagError("is rotated (its ModelTransformation has the terms " + NumberText(m[1]) +
                      " and " + NumberText(m[4]) + " off the diagonal), which this version " +
                      "does not read");
    }
    affine = {m[3], m[7], m[0], -m[5]};
    return Status::Ok();
  }
  if (tags.PixelScale.size() >= 2 && tags.Tiepoints.size() >= 6) {
    const std::vector<double>& t = tags.Tiepoints;
    const double dx = tags.PixelScale[0], dy = tags.PixelScale[1];
    affine = {t[3] - t[0] * dx, t[4] + t[1] * dy, dx, dy};
    return Status::Ok();
  }
  if (tags.Tiepoints.size() >= 12) {
    return TagError("is placed by " + std::to_string(tags.Tiepoints.size() / 6) +
                    " tie points without a pixel scale (a warped raster), which this version " +
                    "does not read");
  }
  return TagError(
      "has no georeferencing: neither ModelPixelScale with ModelTiepoint nor "
      "ModelTransformation");
}

Status SetCoordinateKind(const std::vector<std::uint16_t>& keys, GridDescription& grid) {
  const std::optional<std::uint16_t> model = GeoKey(keys, KeyModelType);
  if (!model) {
    TakeCoordinatesFromExtent(grid);
    return Status::Ok();
  }
  if (*model == ModelGeographic) {
    const std::uint16_t unit = GeoKey(keys, KeyAngularUnits).value_or(UnitDegree);
    if (unit != UnitDegree) {
      return TagError("gives its angles in the unit " + std::to_string(unit) +
                      " (GeogAngularUnitsGeoKey); this version reads degrees (9102)");
    }
    grid.Geographical = true;
    grid.CoordinateUnits = "deg";
    return Status::Ok();
  }
  if (*model == ModelProjected) {
    const std::uint16_t unit = GeoKey(keys, KeyLinearUnits).value_or(UnitMetre);
    if (unit != UnitMetre && unit != UnitFoot) {
      return TagError("gives its coordinates in the unit " + std::to_string(unit) +
                      " (ProjLinearUnitsGeoKey); this version reads metres (9001) and feet (9002)");
    }
    grid.Geographical = false;
    grid.CoordinateUnits = unit == UnitMetre ? "meters" : "feet";
    return Status::Ok();
  }
  return TagError(
      "has the model type " + std::to_string(*model) +
      " (GTModelTypeGeoKey); this version reads geographic (2) and projected (1) grids");
}

}  // namespace

Status PlaceGeoTiffGrid(const GeoTiffPlacement& tags, GridDescription& grid,
                        std::string& rasterType) {
  Affine a{};
  if (Status s = ReadAffine(tags, a); !s) {
    return s;
  }
  if (!(std::isfinite(a.x0) && std::isfinite(a.y0) && std::isfinite(a.dx) && std::isfinite(a.dy) &&
        a.dx > 0 && a.dy != 0)) {
    return TagError("gives the pixel size " + NumberText(a.dx) + " x " + NumberText(a.dy) + " at " +
                    NumberText(a.x0) + ", " + NumberText(a.y0) +
                    "; it must be finite, positive across and not 0 down");
  }
  const bool point = GeoKey(tags.GeoKeys, KeyRasterType) == RasterPixelIsPoint;
  rasterType = point ? "pixel-is-point" : "pixel-is-area";
  const double half = point ? 0.0 : 0.5;  // an area pixel's node is its centre
  const double firstY = a.y0 - half * a.dy;
  grid.West = a.x0 + half * a.dx;
  grid.SpacingX = a.dx;
  grid.SpacingY = std::abs(a.dy);
  grid.RowsFromNorth = a.dy > 0;  // the usual raster: y goes down the rows
  grid.South = grid.RowsFromNorth ? firstY - (grid.Rows - 1) * a.dy : firstY;
  if (Status s = SetCoordinateKind(tags.GeoKeys, grid); !s) {
    return s;
  }
  if (grid.Geographical) {
    if (grid.South < -90.000001 || grid.North() > 90.000001 || std::abs(grid.West) > 360) {
      return TagError("puts its nodes at latitudes " + NumberText(grid.South) + " to " +
                      NumberText(grid.North()) + " and from longitude " + NumberText(grid.West) +
                      ", beyond the globe");
    }
    grid.West = grid.West > 180 ? grid.West - 360 : grid.West;
  }
  return Status::Ok();
}

namespace {

std::string Unescaped(std::string_view text) {
  static constexpr std::pair<std::string_view, char> entities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, character] : entities) {
      if (text.substr(i, entity.size()) == entity) {
        out += character;
        i += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      out += text[i++];
    }
  }
  return out;
}

// The value of attribute `name` in the attributes text of an element; "" when absent.
std::string Attribute(std::string_view attributes, std::string_view name) {
  const std::string key = " " + std::string(name) + "=\"";
  const std::size_t at = attributes.find(key);
  if (at == std::string_view::npos) {
    return {};
  }
  const std::size_t start = at + key.size();
  const std::size_t end = attributes.find('"', start);
  return end == std::string_view::npos ? std::string()
                                       : Unescaped(attributes.substr(start, end - start));
}

void TakeBandItem(GdalBand& band, const std::string& name, const std::string& role,
                  const std::string& value) {
  const std::string key = role.empty() ? name : role;
  if (key == "description" || key == "DESCRIPTION") {
    band.Description = value;
  } else if (key == "unittype" || key == "UNITTYPE") {
    band.Unit = value;
  } else if (key == "scale" || key == "SCALE") {
    band.Scale = ParseDecimal(value, DecimalMark::PointOnly);
  } else if (key == "offset" || key == "OFFSET") {
    band.Offset = ParseDecimal(value, DecimalMark::PointOnly);
  }
}

}  // namespace

GdalMetadata ParseGdalMetadata(std::string_view xml, std::size_t bands) {
  GdalMetadata metadata;
  metadata.Bands.resize(bands);
  for (std::size_t at = xml.find("<Item"); at != std::string_view::npos;
       at = xml.find("<Item", at + 1)) {
    const std::size_t close = xml.find('>', at);
    const std::size_t end = xml.find("</Item>", at);
    if (close == std::string_view::npos || end == std::string_view::npos || end < close) {
      break;
    }
    const std::string_view attributes = xml.substr(at + 5, close - at - 5);
    const std::string name = Attribute(attributes, "name");
    const std::string value = Unescaped(xml.substr(close + 1, end - close - 1));
    const std::string sample = Attribute(attributes, "sample");
    if (sample.empty()) {
      metadata.Items.emplace_back(name, value);
      continue;
    }
    const double index = ParseDecimal(sample, DecimalMark::PointOnly);
    if (index >= 0 && index < static_cast<double>(bands)) {
      TakeBandItem(metadata.Bands[static_cast<std::size_t>(index)], name,
                   Attribute(attributes, "role"), value);
    }
  }
  return metadata;
}

double MetresPerUnit(std::string_view unit) noexcept {
  static constexpr std::pair<std::string_view, double> units[] = {
      {"", 1.0},
      {"m", 1.0},
      {"metre", 1.0},
      {"meter", 1.0},
      {"metres", 1.0},
      {"meters", 1.0},
      {"ft", FootInMetres},
      {"foot", FootInMetres},
      {"feet", FootInMetres},
      {"international foot", FootInMetres},
      {"us-ft", 1200.0 / 3937.0},
      {"ftUS", 1200.0 / 3937.0},
      {"US survey foot", 1200.0 / 3937.0},
  };
  const std::string_view trimmed = TrimBlanks(unit);
  for (const auto& [name, metres] : units) {
    if (trimmed == name) {
      return metres;
    }
  }
  return 0.0;
}

}  // namespace hextant
