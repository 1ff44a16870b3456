#include "readers/generic_layout.h"

#include <algorithm>
#include <initializer_list>

#include "base/angles.h"

namespace hextant {
namespace {

constexpr std::int16_t kFewestFields = 3;
constexpr double kAngleLimit = 3.14159265359;
constexpr double kTurn = 6.28318530718;
constexpr double kFootInMetres = 0.3048;

// The number in a role's field; a field that holds none reads as 0 and is noted.
double Number(std::string_view text, bool afterLetters, std::int64_t line,
              ReadDiagnostics& diagnostics) noexcept {
  double value = 0.0;
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [end, error] =
      afterLetters ? ReadAfterLetters(first, last, value) : ReadDecimal(first, last, value);
  if (error == std::errc::invalid_argument) {
    diagnostics.NoteNonNumeric(line);
  } else if (!OnlyBlanksIn(end, last)) {
    diagnostics.NotePartial(line, text, value);
  }
  return value;
}

}  // namespace

GenericLayout LayoutOf(const ConversionSettings& s) {
  GenericLayout layout;
  layout.roles = s.ColumnRoles;
  layout.delimiter = s.Delimiter;
  layout.mergeDelimiters = s.MergeDelimiters;
  layout.codeFilterOn = s.CodeFilterOn && s.ColumnRoles[RoleCode] != -1;
  layout.codeFilter = s.CodeFilter;
  layout.sexagesimal = s.AngularUnit == 3;
  layout.geographical = s.CoordinateType == Geographical;
  layout.ySign = s.SouthernHemisphere ? -1.0 : 1.0;
  if (layout.geographical) {
    layout.coordinateFactor = s.AngularUnit == 1   ? WindowPi / 200
                              : s.AngularUnit == 2 ? WindowPi / 180
                                                   : 1.0;
  } else if (s.LinearUnit == 1 || s.LinearUnit == 2) {
    layout.coordinateFactor = layout.separationFactor = kFootInMetres;
  }
  const std::initializer_list<std::int16_t> decimalRoles{RoleX, RoleY, RoleSeparation, RoleCode};
  const std::initializer_list<std::int16_t> sexagesimalRoles{
      RoleSeparation,       RoleCode,
      RoleLongitudeDegrees, RoleLongitudeMinutes,
      RoleLongitudeSeconds, RoleLatitudeDegrees,
      RoleLatitudeMinutes,  RoleLatitudeSeconds};
  for (std::int16_t role : layout.sexagesimal ? sexagesimalRoles : decimalRoles) {
    layout.widestRole = std::max(layout.widestRole, s.ColumnRoles[static_cast<std::size_t>(role)]);
  }
  // A line is a point when SplitLine finds at least this many fields (it counts up to
  // MostPointFields); those are the first ones, which SplitFirstFields finds faster.
  const std::int16_t needed = std::max(kFewestFields, layout.widestRole);
  if (layout.delimiter.size() == 1 && needed <= MostPointFields) {
    layout.firstFields = needed;
    for (std::int16_t role : {RoleX, RoleY, RoleSeparation}) {
      const std::int16_t column = layout.roles[static_cast<std::size_t>(role)];
      if (!layout.sexagesimal && column >= 1) {
        layout.numberColumns[static_cast<std::size_t>(column)] = true;
      }
    }
    layout.plainFields =
        !layout.codeFilterOn &&
        std::all_of(layout.numberColumns.begin() + 1, layout.numberColumns.begin() + needed + 1,
                    [](bool number) { return number; });
  }
  return layout;
}

namespace {

// The point of a line whose field texts `field(column)` gives and whose numbers
// `read(column, value)` may have read already; see PointLineReader::Read.
template <class FieldText, class ReadNumber>
bool PointOfFields(const GenericLayout& layout, FieldText field, ReadNumber read, std::int64_t line,
                   ReadDiagnostics& diagnostics, GeoidPoint& p) {
  auto text = [&](std::int16_t role) {
    const std::int16_t column = layout.roles[static_cast<std::size_t>(role)];
    return column >= 1 ? field(column) : std::string_view();
  };
  auto number = [&](std::int16_t role, bool afterLetters) {
    double value = 0.0;
    const std::int16_t column = layout.roles[static_cast<std::size_t>(role)];
    return column >= 1 && read(column, value) ? value
                                              : Number(text(role), afterLetters, line, diagnostics);
  };
  if (layout.sexagesimal) {
    p.X = DmsToRad(number(RoleLongitudeDegrees, true), number(RoleLongitudeMinutes, true),
                   number(RoleLongitudeSeconds, true)) *
          layout.coordinateFactor;
    p.Y = layout.ySign *
          DmsToRad(number(RoleLatitudeDegrees, true), number(RoleLatitudeMinutes, true),
                   number(RoleLatitudeSeconds, true)) *
          layout.coordinateFactor;
  } else {
    p.X = number(RoleX, false) * layout.coordinateFactor;
    p.Y = number(RoleY, false) * layout.coordinateFactor * layout.ySign;
  }
  p.Separation = number(RoleSeparation, false) * layout.separationFactor;
  p.NullFlag = 0.0;
  if (layout.geographical) {
    if (p.X > kAngleLimit) {
      p.X -= kTurn;
    }
    if (!(p.X >= -kAngleLimit && p.X <= kAngleLimit && p.Y >= -kAngleLimit && p.Y <= kAngleLimit)) {
      return false;
    }
  }
  if (layout.codeFilterOn && TrimBlanks(text(RoleCode)) == layout.codeFilter) {
    p.Separation = NullSeparation;
    p.NullFlag = NullFlagSet;
  }
  return true;
}

}  // namespace

bool PointLineReader::Split(const GenericLayout& layout, std::string_view line) {
  if (layout.plainFields && ReadPlainFields(line, layout.delimiter[0], layout.mergeDelimiters,
                                            layout.firstFields, numbers_.data())) {
    std::fill_n(numberRead_.begin() + 1, layout.firstFields, true);
    return true;
  }
  if (layout.firstFields > 0) {
    const FieldNumbers numbers = Numbers(layout);
    return SplitFirstFields(line, layout.delimiter[0], layout.mergeDelimiters, layout.firstFields,
                            firstFields_.data(), &numbers);
  }
  std::int16_t found = MostPointFields;
  SplitLine(line, layout.delimiter, found, fields_, layout.mergeDelimiters);
  return found >= kFewestFields && found >= layout.widestRole;
}

bool PointLineReader::Read(const GenericLayout& layout, std::int64_t line,
                           ReadDiagnostics& diagnostics, GeoidPoint& p) {
  if (layout.firstFields > 0) {
    const FieldNumbers numbers = Numbers(layout);
    auto read = [&](std::int16_t column, double& value) {
      if (!numbers.Read[column]) {
        return false;
      }
      value = numbers.Values[column];
      return true;
    };
    return PointOfFields(
        layout, [&](std::int16_t column) { return firstFields_[static_cast<std::size_t>(column)]; },
        read, line, diagnostics, p);
  }
  return PointOfFields(
      layout, [&](std::int16_t column) { return fields_[static_cast<std::size_t>(column)].Text; },
      [](std::int16_t, double&) { return false; }, line, diagnostics, p);
}

}  // namespace hextant
