// hextant-inspect: prints the header of an HDM model file, or every node, and checks the file;
// answers the separation at points, exports the model to open grid formats and draws it.
//
//   hextant-inspect FILE          one `key: value` line per stored value, then `integrity: ok`
//   hextant-inspect --nodes FILE  one `X Y SEPARATION` line per node, in file order
//   hextant-inspect --check FILE  whether the nodes fill their grid and which stand apart
//   hextant-inspect FILE --at X,Y | --points FILE | --export FORMAT OUT | --picture OUT.png
//
// Exit status 0 when the file is a complete, intact model and every request was answered; 1 when
// it is not (one line on stderr says why); 2 on bad usage; 3 when --check warns. InspectUsage lists
// every option.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "hdm_report_actions.h"
#include "hdm_report_check.h"
#include "hdm_report_options.h"
#include "hdmfile/hdm_reader.h"

namespace {

void PrintHeader(const hdm::HdmModel& m) {
  std::printf("coordinate-type: %d\n", m.coordinateType);
  std::printf("resolution: %d\n", m.resolutionCode);
  std::printf("body-flags: %d\n", m.bodyFlags);
  std::printf("nodes: %d\n", m.nodes);
  std::printf("rows: %d\n", m.rows);
  std::printf("columns: %d\n", m.Columns());
  const std::pair<const char*, double> values[] = {{"first-x", m.firstX},
                                                   {"first-y", m.firstY},
                                                   {"last-x", m.lastX},
                                                   {"last-y", m.lastY},
                                                   {"spacing-x", m.spacingX},
                                                   {"spacing-y", m.spacingY},
                                                   {"separation-offset", m.separationOffset}};
  for (const auto& [key, value] : values) {
    std::printf("%s: %.17g\n", key, value);
  }
  std::printf("ellipsoid: %s\n", m.ellipsoidName.c_str());
  std::printf("semi-major-axis: %.17g\n", m.semiMajorAxis);
  std::printf("flattening: %.17g\n", m.flattening);
  std::printf("integrity: ok\n");
}

// Appends `value` as printf's "%.17g" writes it.
char* AppendNumber(char* at, char* end, double value) {
  return std::to_chars(at, end, value, std::chars_format::general, 17).ptr;
}

// Node positions follow from the grid: row-major from the first node, `Columns()` per row. The
// lines are gathered in a buffer and written in large blocks.
void PrintNodes(const hdm::HdmModel& m) {
  const double toOutput = m.coordinateType == 1 ? 180.0 / std::numbers::pi : 1.0;
  const auto columns = static_cast<std::size_t>(m.Columns());
  constexpr std::size_t kBlock = 1 << 16;
  constexpr std::size_t kLongestLine = 3 * 32;
  std::vector<char> buffer(kBlock + kLongestLine);
  char* const end = buffer.data() + buffer.size();
  char* at = buffer.data();
  for (std::size_t k = 0; k < m.codes.size(); ++k) {
    const double x = (m.firstX + static_cast<double>(k % columns) * m.spacingX) * toOutput;
    const double y = (m.firstY + static_cast<double>(k / columns) * m.spacingY) * toOutput;
    at = AppendNumber(at, end, x);
    *at++ = ' ';
    at = AppendNumber(at, end, y);
    *at++ = ' ';
    if (const auto separation = m.Separation(k)) {
      at = AppendNumber(at, end, *separation);
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
  const auto options = hextant::ParseInspectOptions({argv + 1, argv + argc}, problem);
  if (!options) {
    if (problem.empty()) {
      std::fputs(hextant::InspectUsage, stdout);
      return 0;
    }
    std::fprintf(stderr, "hextant-inspect: %s\nTry 'hextant-inspect --help'.\n", problem.c_str());
    return 2;
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
    PrintHeader(*result.model);
  }
  return std::fflush(stdout) == 0 ? status : 1;
}
