#include "grids/isg_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace hextant {
namespace {

constexpr std::uint64_t kBytesPerReport = 1 << 20;

bool IsBlank(char c) noexcept {
  return c == ' ' || c == '\t';
}

// The numbers of the data lines, one at a time, with the line each stands on.
class IsgNumbers {
 public:
  IsgNumbers(LineReader& lines, GridNodeSink& sink) : lines_(lines), sink_(sink) {}

  /// The next number: true with `value` set; false at the end of the file or with `error` set.
  bool Next(double& value, Status& error) {
    for (;;) {
      while (at_ < line_.size() && IsBlank(line_[at_])) {
        ++at_;
      }
      if (at_ < line_.size()) {
        return Read(value, error);
      }
      if (!lines_.Next(line_)) {
        return false;
      }
      at_ = 0;
      if (lines_.Consumed() >= reported_ + kBytesPerReport) {
        reported_ = lines_.Consumed();
        sink_.Progress(reported_);
      }
    }
  }
  std::uint64_t Line() const noexcept { return lines_.LinesRead(); }

 private:
  bool Read(double& value, Status& error) {
    const char* first = line_.data() + at_;
    const char* end = line_.data() + line_.size();
    const char* last = first;
    while (last < end && !IsBlank(*last)) {
      ++last;
    }
    const char* from = first < last && *first == '+' ? first + 1 : first;
    const auto [ptr, ec] = std::from_chars(from, last, value);
    if (ec != std::errc() || ptr != last || std::isnan(value)) {
      error = Status::Error(
          ErrorFileFormat, "line " + std::to_string(Line()) + ": '" +
                               std::string(first, std::min<std::size_t>(
                                                      static_cast<std::size_t>(last - first), 40)) +
                               "' is not a number");
      return false;
    }
    at_ = static_cast<std::size_t>(last - line_.data());
    return true;
  }

  LineReader& lines_;
  GridNodeSink& sink_;
  std::string_view line_;
  std::size_t at_ = 0;
  std::uint64_t reported_ = 0;
};

Status CountError(const GridDescription& grid, std::int64_t read, std::uint64_t line, bool more) {
  const std::string promised = std::to_string(grid.Rows) + " x " + std::to_string(grid.Columns);
  return Status::Error(ErrorFileFormat, more ? "line " + std::to_string(line) +
                                                   " holds more values than the "
                                                   "header's " +
                                                   promised
                                             : "the file ends at line " + std::to_string(line) +
                                                   " after " + std::to_string(read) +
                                                   " of the header's " + promised + " values");
}

Status ReadSparseNodes(IsgNumbers& numbers, const GridDescription& grid, GridNodeSink& sink) {
  const double factor = grid.CoordinateUnits == "feet" ? FootInMetres : 1.0;
  double fields[3] = {};
  Status error = Status::Ok();
  for (std::int64_t node = 0;; ++node) {
    for (int f = 0; f < 3; ++f) {
      if (!numbers.Next(fields[f], error)) {
        if (!error || f == 0) {
          return error;
        }
        return Status::Error(ErrorFileFormat, "the file ends within node " +
                                                  std::to_string(node + 1) + " at line " +
                                                  std::to_string(numbers.Line()) +
                                                  ": a sparse node needs three numbers");
      }
    }
    if (node >= grid.NodeCount()) {
      return CountError(grid, grid.NodeCount(), numbers.Line(), true);
    }
    if (Status s = sink.Point(fields[grid.Fields.X] * factor, fields[grid.Fields.Y] * factor,
                              ValueInMetres(grid, fields[grid.Fields.Value]));
        !s) {
      return s;
    }
  }
}

}  // namespace

Status ReadIsgValues(LineReader& lines, const GridDescription& grid, GridNodeSink& sink) {
  IsgNumbers numbers(lines, sink);
  return ReadSparseNodes(numbers, grid, sink);
}

}  // namespace hextant
