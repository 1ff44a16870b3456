#pragma once

// Exports a model to open grid formats that other tools read:
//   gtx  the NOAA vertical grid layout (PROJ's egm96_15.gtx): a big-endian header of south
//        latitude, west longitude, latitude and longitude steps (doubles, degrees), rows and
//        columns (int32), then the separations as big-endian float32, rows south to north,
//        -88.8888 for a node without value; geographical models only;
//   isg  ISG 2.0 text: the header between begin_of_head and end_of_head (extent, spacing,
//        nodata, units), then one text line per row, north to south;
//   xyz  one "X Y N" line per node with a value, rows south to north, X west to east.
// Each export goes into a staging file that becomes the named file only when complete.

#include <optional>
#include <string>
#include <string_view>

#include "hdm_reader.h"

namespace hdm {

enum class ExportFormat { Gtx, Isg, Xyz };

inline constexpr float kGtxNoData = -88.8888f;
inline constexpr double kIsgNoData = -9999.0;
inline constexpr std::size_t kGtxHeaderSize = 40;

/// "gtx", "isg" or "xyz".
std::optional<ExportFormat> ExportFormatNamed(std::string_view name) noexcept;

/// Writes every node of `nodes`, a regular model, to `path` (UTF-8) in `format`. False with `error`
/// (starting with the path) when the model does not fit the format or the file cannot be
/// written; nothing is then left at `path` but what stood there before.
bool ExportModel(HdmNodes& nodes, ExportFormat format, const std::string& path, std::string& error);

}  // namespace hdm
