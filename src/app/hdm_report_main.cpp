// hextant-inspect: prints the header of an HDM model file, or every node, and checks the file.
//
//   hextant-inspect FILE          one `key: value` line per stored value, then `integrity: ok`
//   hextant-inspect --nodes FILE  one `X Y SEPARATION` line per node, in file order
//
// Exit status 0 when the file is a complete, intact model; 1 when it is not (one line on
// stderr says why); 2 on bad usage.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "hdm_reader.h"

namespace {

constexpr const char* kUsage =
    "Usage: hextant-inspect [--nodes] FILE\n"
    "Reads an HDM geoid model file, checks it and prints its header (or, with --nodes, every\n"
    "node as 'X Y SEPARATION': degrees or metres, metres, 'null' for a node without value).\n";

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
  bool nodes = false;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--nodes") {
      nodes = true;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg.starts_with("-") || !path.empty()) {
      std::fputs(kUsage, stderr);
      return 2;
    } else {
      path = arg;
    }
  }
  if (path.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const hdm::HdmReadResult result = hdm::ReadHdmFile(path);
  if (!result.model) {
    std::fprintf(stderr, "hextant-inspect: %s\n", result.error.c_str());
    return 1;
  }
  if (nodes) {
    PrintNodes(*result.model);
  } else {
    PrintHeader(*result.model);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
