#pragma once

// What the header of a published grid file says: the layout, the extent and spacing of its
// nodes, the units of its coordinates and values, and how its values are stored.

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace hextant {

// The numbers are kept in settings: a new layout takes the next one.
enum class GridLayout : std::int16_t { Isg, Gtx, Ngs, Byn, EsriAscii, Surfer, GeoTiff };

/// The order of the three numbers of a sparse node line.
struct SparseFields {
  int X = 1;  // 0-based field of the easting or longitude
  int Y = 0;  // of the northing or latitude
  int Value = 2;
};

/// A grid file's header. Positions and spacings are in degrees for a geographical grid and in
/// metres for a projected one; `West`/`South` is the south-western node.
struct GridDescription {
  GridLayout Layout = GridLayout::Isg;
  std::string Version;    // "2.0", "1.01"; "float32" for GTX; see LayoutText
  std::string ModelName;  // "" when the file names none
  std::string Remarks;    // what else the file says of itself, for the summary; "" when nothing
  bool Geographical = true;
  bool Sparse = false;             // nodes given as lines of three numbers, in any order
  bool RowsFromNorth = false;      // the first row of values is the northern one
  bool ColumnsFromEast = false;    // a row's first value is its eastern one
  SparseFields Fields;             // for a sparse file
  double West = 0.0, South = 0.0;  // degrees or metres
  double SpacingX = 0.0, SpacingY = 0.0;
  std::int32_t Rows = 0, Columns = 0;
  std::string CoordinateUnits = "deg";  // as the file says: deg, dms, meters, feet
  std::string ValueUnits = "meters";    // meters or feet
  double ValueFactor = 1.0;             // metres per unit of the values
  double ValueOffset = 0.0;             // metres added to every value after the factor
  bool HasNoData = false;
  double NoData = 0.0;            // in the file's value unit
  bool NoDataEitherSign = false;  // -NoData marks a node without value too
  double BlankFrom = std::numeric_limits<double>::infinity();  // this value and above: no value
  int ValueBytes = 0;          // binary layouts: 2, 4 or 8 bytes per value
  bool IntegerValues = false;  // binary values are integers, else IEEE floats
  bool LittleEndian = false;   // byte order of binary values
  std::uint64_t DataOffset = 0;

  std::int64_t NodeCount() const noexcept {
    return static_cast<std::int64_t>(Rows) * static_cast<std::int64_t>(Columns);
  }
  double East() const noexcept { return West + (Columns - 1) * SpacingX; }
  double North() const noexcept { return South + (Rows - 1) * SpacingY; }
};

/// Metres in an international foot, the foot of ISG files.
inline constexpr double FootInMetres = 0.3048;

/// Takes a grid whose layout names no coordinate system as geographical degrees when its nodes
/// lie within ±360° of longitude and ±90° of latitude, else as projected metres.
void TakeCoordinatesFromExtent(GridDescription& grid) noexcept;

/// A value of the file in metres: NaN for the nodata value or a value that is not finite.
double ValueInMetres(const GridDescription& grid, double value) noexcept;

/// "ISG 2.0", "GTX (float32)".
std::string LayoutText(const GridDescription& grid);

/// The lines the conversion page shows for the file: layout and version with the model's name,
/// the coordinates, the extent and spacing of each axis, rows × columns, the units of the values
/// and the nodata value.
std::vector<std::string> DescribeGrid(const GridDescription& grid);

}  // namespace hextant
