#pragma once

// Readers of the export layouts, independent of the exporter, for the round-trip tests.

#include <bit>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "temp_dir.h"

namespace hextant::test {

struct ReadGrid {
  double south = 0, west = 0, dy = 0, dx = 0;
  std::int32_t rows = 0, columns = 0;
  std::vector<double> values;  // rows south to north, west to east
  std::map<std::string, std::string> header;
};

inline std::uint64_t Big(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) {
    v = (v << 8) | b.at(at + static_cast<std::size_t>(i));
  }
  return v;
}

inline ReadGrid ReadGtx(const std::string& path) {
  const auto b = ReadBytes(path);
  ReadGrid g;
  double* doubles[] = {&g.south, &g.west, &g.dy, &g.dx};
  for (std::size_t i = 0; i < 4; ++i) {
    *doubles[i] = std::bit_cast<double>(Big(b, 8 * i, 8));
  }
  g.rows = static_cast<std::int32_t>(Big(b, 32, 4));
  g.columns = static_cast<std::int32_t>(Big(b, 36, 4));
  for (std::size_t at = 40; at + 4 <= b.size(); at += 4) {
    g.values.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(Big(b, at, 4))));
  }
  return g;
}

// ISG 2.0: "key : text" and "key = number" lines between begin_of_head and end_of_head, then rows
// north to south; the values come back south to north like the other layouts.
inline ReadGrid ReadIsg(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  ReadGrid g;
  std::getline(in, line);
  if (line.rfind("begin_of_head", 0) != 0) {
    return g;
  }
  while (std::getline(in, line) && line.rfind("end_of_head", 0) != 0) {
    const auto sep = line.find_first_of(":=");
    auto trim = [](std::string s) {
      s.erase(0, s.find_first_not_of(' '));
      s.erase(s.find_last_not_of(' ') + 1);
      return s;
    };
    g.header[trim(line.substr(0, sep))] = trim(line.substr(sep + 1));
  }
  const bool geo = g.header["coord type"] == "geodetic";
  g.south = std::stod(g.header[geo ? "lat min" : "north min"]);
  g.west = std::stod(g.header[geo ? "lon min" : "east min"]);
  g.dy = std::stod(g.header[geo ? "delta lat" : "delta north"]);
  g.dx = std::stod(g.header[geo ? "delta lon" : "delta east"]);
  g.rows = std::stoi(g.header["nrows"]);
  g.columns = std::stoi(g.header["ncols"]);
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    rows.emplace_back(std::istream_iterator<double>(fields), std::istream_iterator<double>());
  }
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    g.values.insert(g.values.end(), row->begin(), row->end());
  }
  return g;
}

inline std::vector<std::tuple<double, double, double>> ReadXyz(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::tuple<double, double, double>> nodes;
  double x, y, n;
  while (in >> x >> y >> n) {
    nodes.emplace_back(x, y, n);
  }
  return nodes;
}

}  // namespace hextant::test
