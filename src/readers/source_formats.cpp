#include "readers/source_formats.h"

#include "readers/catalunya_gr_reader.h"
#include "readers/generic_reader.h"
#include "readers/grid_file_reader.h"
#include "readers/italy_reader.h"
#include "readers/la_reunion_reader.h"
#include "readers/netherlands_reader.h"
#include "readers/norway_reader.h"
#include "readers/poland_reader.h"
#include "readers/switzerland_reader.h"

namespace hextant {
namespace {

constexpr std::int16_t k4Points = 0;
constexpr std::int16_t k16Points = 2;

constexpr SourcePreset Dms(std::int16_t interpolation, std::array<std::string_view, 3> row0,
                           std::array<std::string_view, 3> row1) {
  SourcePreset p;
  p.EllipsoidPosition = Wgs1984Position;
  p.InterpolationPosition = interpolation;
  p.LinearUnit = UnitMetres;
  p.AngularUnit = UnitSexagesimal;
  p.SpacingKind = SpacingPresetKind::DegreesMinutesSeconds;
  p.Spacing = {row0, row1};
  return p;
}

constexpr SourcePreset Decimal(std::optional<int> coordinateType, std::optional<int> angularUnit,
                               std::string_view spacing) {
  SourcePreset p;
  p.EllipsoidPosition = Wgs1984Position;
  p.CoordinateType = coordinateType;
  p.InterpolationPosition = k4Points;
  p.LinearUnit = UnitMetres;
  p.AngularUnit = angularUnit;
  p.SpacingKind = SpacingPresetKind::Decimal;
  p.Spacing = {{{spacing, {}, {}}, {spacing, {}, {}}}};
  p.CodeChecked = false;
  p.Hemisphere = HemispherePreset::NorthLocked;
  return p;
}

constexpr SourcePreset WithCode(SourcePreset p, std::string_view code) {
  p.CodeChecked = true;
  p.CodeText = code;
  return p;
}

constexpr SourcePreset Italy() {
  SourcePreset p = Dms(k4Points, {"0", "2", "0"}, {"0", "2", "0"});
  p.CoordinateType = OptionGeographical;
  p.CodeChecked = false;
  p.Hemisphere = HemispherePreset::NorthLocked;
  return p;
}

constexpr SourcePreset LaReunion() {
  SourcePreset p = WithCode(Dms(k4Points, {"0", "0", "0"}, {"0", "0", "0"}), "9999.000");
  p.CoordinateType = OptionGeographical;
  p.Hemisphere = HemispherePreset::NoneLocked;
  p.HemisphereBeforeCode = true;
  return p;
}

// A grid file brings its own coordinates and spacings, filled in when the file is chosen; until
// then the boxes stay empty. Its coordinates carry their signs: the hemisphere stays north.
constexpr SourcePreset GridFile() {
  return Decimal(OptionGeographical, UnitDecimalDegrees, "");
}

constexpr std::array<SourceFormatEntry, SourceFormatCount> kFormats{{
    {"Use Import Wizard", "wizard", ConvertFileGeneric, ConvertFileGeneric, SourcePreset{},
     PreviewKind::WizardColumns, true},
    {"Netherlands", "netherlands", ConvertFileNetherlands, ConvertFileNetherlands,
     WithCode(Dms(k16Points, {"0", "5", "0"}, {"0", "3", "0"}), "99.999"), PreviewKind::RawLines},
    {"Norway", "norway", ConvertFileNorway, ConvertFileNorway,
     WithCode(Dms(k4Points, {"0", "1", "30"}, {"0", "3", "0"}), "99.999"), PreviewKind::None},
    {"Switzerland", "switzerland", ConvertFileSwitzerland, ConvertFileSwitzerland,
     Decimal(OptionGrid, std::nullopt, "1000"), PreviewKind::RawLines},
    {"Italy", "italy", Convert_File_Italy, Convert_File_Italy, Italy(), PreviewKind::RawLines},
    {"La Reunion", "la-reunion", ConvertFileLaReunion, ConvertFileLaReunion, LaReunion(),
     PreviewKind::RawLines},
    {"Norway 2010_NN2000", "norway-nn2000", ConvertFileNorway, ConvertFileNorway,
     WithCode(Dms(k4Points, {"0", "1", "12"}, {"0", "2", "24"}), "99.999"), PreviewKind::None},
    {"Catalunya GR file", "catalunya", ConvertFileGR, ConvertFileGR,
     Decimal(OptionGeographical, UnitDecimalDegrees, "1"), PreviewKind::RawLinesWideFirst},
    {"Poland PL_Geoid_2011", "poland", ConvertFilePoland, ConvertFilePoland,
     Decimal(OptionGeographical, UnitDecimalDegrees, "0.01"), PreviewKind::RawLines, true},
    {"Grid file (ISG, GTX, GeoTIFF, NGS, BYN, ASCII, Surfer)", "grid", ConvertFileGrid,
     ConvertFileGrid, GridFile(), PreviewKind::GridSummary, true, true},
}};

constexpr bool At(std::int16_t position, std::string_view text) {
  return kFormats[static_cast<std::size_t>(position)].ListText == text;
}
static_assert(At(FormatImportWizard, "Use Import Wizard") && At(FormatNetherlands, "Netherlands") &&
              At(FormatNorway, "Norway") && At(FormatSwitzerland, "Switzerland") &&
              At(FormatItaly, "Italy") && At(FormatLaReunion, "La Reunion") &&
              At(FormatNorwayNn2000, "Norway 2010_NN2000") &&
              At(FormatCatalunya, "Catalunya GR file") &&
              At(FormatPoland, "Poland PL_Geoid_2011") &&
              At(FormatGridFile, "Grid file (ISG, GTX, GeoTIFF, NGS, BYN, ASCII, Surfer)"));

}  // namespace

std::span<const SourceFormatEntry> SourceFormats() noexcept {
  return kFormats;
}

const SourceFormatEntry* SourceFormatAt(std::int16_t position) noexcept {
  if (position < 0 || static_cast<std::size_t>(position) >= kFormats.size()) {
    return nullptr;
  }
  return &kFormats[static_cast<std::size_t>(position)];
}

std::optional<std::int16_t> SourceFormatNamed(std::string_view name) noexcept {
  for (std::size_t i = 0; i < kFormats.size(); ++i) {
    if (name == kFormats[i].CommandName || name == kFormats[i].ListText) {
      return static_cast<std::int16_t>(i);
    }
  }
  return std::nullopt;
}

}  // namespace hextant
