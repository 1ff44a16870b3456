#include "mainwindow/source_presets.h"

#include "settings/choice_lists.h"

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

constexpr std::array<SourcePreset, 9> kPresets{
    SourcePreset{},
    WithCode(Dms(k16Points, {"0", "5", "0"}, {"0", "3", "0"}), "99.999"),  // Netherlands
    WithCode(Dms(k4Points, {"0", "1", "30"}, {"0", "3", "0"}), "99.999"),  // Norway
    Decimal(OptionGrid, std::nullopt, "1000"),                             // Switzerland
    Italy(),
    LaReunion(),
    WithCode(Dms(k4Points, {"0", "1", "12"}, {"0", "2", "24"}), "99.999"),  // Norway 2010_NN2000
    Decimal(OptionGeographical, UnitDecimalDegrees, "1"),                   // Catalunya GR file
    Decimal(OptionGeographical, UnitDecimalDegrees, "0.01"),                // Poland PL_Geoid_2011
};

}  // namespace

const SourcePreset& PresetFor(std::int16_t position) noexcept {
  if (position < 0 || static_cast<std::size_t>(position) >= kPresets.size()) {
    return kPresets[0];
  }
  return kPresets[static_cast<std::size_t>(position)];
}

}  // namespace hextant
