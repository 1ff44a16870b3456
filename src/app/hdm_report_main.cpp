// hextant-inspect: prints the header of an HDM model file, or every node, and checks the file;
// answers the separation at points, exports the model to open grid formats and draws it.
//
//   hextant-inspect FILE          one `key: value` line per stored value, then `integrity: ok`
//   hextant-inspect --nodes FILE  one `X Y SEPARATION` line per node, in file order
//   hextant-inspect --check FILE  whether the nodes fill their grid and which stand apart
//   hextant-inspect FILE --at X,Y | --points FILE | --export FORMAT OUT | --picture OUT.png
//   hextant-inspect --version     the program's version
//
// Exit status 0 when the file is a complete, intact model and every request was answered; 1 when
// it is not (one line on stderr says why); 2 on bad usage; 3 when --check warns. InspectUsage lists
// every option.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "hdm_report_actions.h"
#include "hdm_report_check.h"
#include "hdm_report_options.h"
#include "hdmfile/hdm_reader.h"
#include "hdmfile/model_units.h"
#include "utf8_arguments.h"

namespace {

// The names of the body flags: the coordinate type, the interpolation that a Series Q model asks
// for (Series R takes none) and the local side.
std::string FlagNames(std::int16_t flags) {
  std::string names = (flags & 3) == 1 ? "geographical" : "grid";
  const std::pair<int, const char*> interpolations[] = {
      {16, "4 Points"}, {64, "9 Points"}, {32, "16 Points"}};
  const char* interpolation = nullptr;
  for (const auto& [bit, name] : interpolations) {
    interpolation = (flags & bit) != 0 ? name : interpolation;
  }
  names += interpolation ? std::string(", ") + interpolation + " interpolation (Series Q)"
                         : ", no interpolation (Series R)";
  return names + ((flags & 8) != 0 ? ", local side" : "");
}

// The header, one `key: value` line per stored value, positions and spacings in degrees (or, on
// request, radians as stored) or metres, with their units.
void PrintHeader(const hdm::HdmModel& m, bool radians) {
  const bool geographical = m.coordinateType == 1;
  std::printf("coordinate-type: %s\n", geographical ? "geographical" : "grid");
  std::printf("resolution: 1 %s\n", m.resolutionCode == 1 ? "mm" : "cm");
  std::printf("body-flags: %s\n", FlagNames(m.bodyFlags).c_str());
  std::printf("nodes: %d\n", m.nodes);
  std::printf("rows: %d\n", m.rows);
  std::printf("columns: %d\n", m.Columns());
  const double perUnit = radians ? 1.0 : hdm::ModelUnitsPerUserUnit(m);
  const char* unit = !geographical ? "m" : radians ? "rad" : "deg";
  const std::pair<const char*, double> values[] = {
      {"first-x", m.firstX}, {"first-y", m.firstY},     {"last-x", m.lastX},
      {"last-y", m.lastY},   {"spacing-x", m.spacingX}, {"spacing-y", m.spacingY}};
  for (const auto& [key, value] : values) {
    if (radians && geographical) {
      std::printf("%s: %.17g %s\n", key, value, unit);
    } else {
      std::printf("%s: %s %s\n", key, hdm::DecimalText(value / perUnit).c_str(), unit);
    }
  }
  std::printf("separation-offset: %s m\n", hdm::DecimalText(m.separationOffset).c_str());
  std::printf("ellipsoid: %s\n", m.ellipsoidName.c_str());
  std::printf("semi-major-axis: %s m\n", hdm::DecimalText(m.semiMajorAxis).c_str());
  std::printf("flattening: %.17g", m.flattening);
  std::printf(m.flattening > 0 ? " (1/%.12g)\n" : "\n", 1 / m.flattening);
  std::printf("integrity: ok\n");
}

// Node positions follow from the grid: row-major from the first node, `Columns()` per row. The
// lines are gathered in a buffer and written in large blocks.
void PrintNodes(const hdm::HdmModel& m) {
  const double perUnit = hdm::ModelUnitsPerUserUnit(m);
  const auto columns = static_cast<std::size_t>(m.Columns());
  constexpr std::size_t kBlock = 1 << 16;
  constexpr std::size_t kLongestLine = 3 * (hdm::kDecimalTextRoom + 1);
  std::vector<char> buffer(kBlock + kLongestLine);
  char* at = buffer.data();
  for (std::size_t k = 0; k < m.codes.size(); ++k) {
    const double x = m.firstX + static_cast<double>(k % columns) * m.spacingX;
    const double y = m.firstY + static_cast<double>(k / columns) * m.spacingY;
    at = hdm::WriteDecimal(at, x / perUnit);
    *at++ = ' ';
    at = hdm::WriteDecimal(at, y / perUnit);
    *at++ = ' ';
    if (const auto separation = m.Separation(k)) {
      at = hdm::WriteDecimal(at, *separation);
    } else {
      at = std::copy_n("null", 4, at);
    }
    *at++ = '\n';
    if (at >= buffer.data() + kBlock) {
      std::fwrite(buffer.data(), 1, static_cast<std::size_t>(at - buffer.data()), stdout);
      at = buffer.data();
    }
  }
  std::fwrite(buffer.data(), 1, static_cast<std::size_t>(at - buffer.data()), stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::string problem;
  const auto options = hextant::ParseInspectOptions(hextant::Utf8Arguments(argc, argv), problem);
  if (!options) {
    std::fprintf(stderr, "hextant-inspect: %s\nTry 'hextant-inspect --help'.\n", problem.c_str());
    return 2;
  }
  if (options->help || options->version) {
    std::fputs(options->help ? hextant::InspectUsage : "hextant-inspect " HEXTANT_VERSION_TEXT "\n",
               stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (options->HasActions()) {
    return hextant::RunInspectActions(*options, argc, argv);
  }
  const hdm::HdmReadResult result = hdm::ReadHdmFile(options->path);
  if (!result.model) {
    std::fprintf(stderr, "hextant-inspect: %s\n", result.error.c_str());
    return 1;
  }
  int status = 0;
  if (options->check) {
    status = hextant::PrintModelCheck(*result.model);
  } else if (options->nodes) {
    PrintNodes(*result.model);
  } else {
    PrintHeader(*result.model, options->radians);
  }
  return std::fflush(stdout) == 0 ? status : 1;
}
