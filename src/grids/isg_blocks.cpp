#include "grids/isg_blocks.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <deque>
#include <future>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

namespace hextant {
namespace {

constexpr std::size_t kBlocksInFlight = 2;

bool IsSeparator(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Line ends in `text`: LF, CR LF and CR each count once.
std::uint64_t LineEnds(std::string_view text) noexcept {
  std::uint64_t ends = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    ends += text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
  }
  return ends;
}

// A block of the values' text and the numbers in it, in metres (NaN: no value).
struct ValueBlock {
  std::string text;
  std::vector<double> values;
  std::size_t bad = std::string::npos;  // where a text that is no number starts
};

// Calls `take(offset, length)` for each blank-separated text of `text`, until it returns false.
template <typename Take>
void EachToken(std::string_view text, Take take) {
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && IsSeparator(text[at])) {
      ++at;
    }
    std::size_t end = at;
    while (end < text.size() && !IsSeparator(text[end])) {
      ++end;
    }
    if (end > at && !take(at, end - at)) {
      return;
    }
    at = end;
  }
}

void Parse(ValueBlock& block, const GridDescription& grid) {
  block.values.reserve(block.text.size() / 6);
  const char* data = block.text.data();
  EachToken(block.text, [&](std::size_t at, std::size_t length) {
    const char* first = data + at + (data[at] == '+' ? 1 : 0);
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, data + at + length, value);
    if (ec != std::errc() || ptr != data + at + length || std::isnan(value)) {
      block.bad = at;
      return false;
    }
    block.values.push_back(ValueInMetres(grid, value));
    return true;
  });
}

// The next block of text: ends after its last separator, so that no number is cut in two (a
// block without one grows until it has one); a CR at its end waits for the block after, which
// may start with LF.
class BlockCutter {
 public:
  BlockCutter(const IsgValueText& text, std::size_t blockBytes)
      : rest_(text.Rest), carry_(text.Buffered), blockBytes_(blockBytes) {}

  bool Next(std::string& block) {
    block = std::move(carry_);
    carry_.clear();
    Fill(block, std::max(block.size(), blockBytes_));
    if (block.empty()) {
      return false;
    }
    for (;;) {
      std::size_t cut = block.size();
      while (cut > 0 && !(IsSeparator(block[cut - 1]) && block[cut - 1] != '\r')) {
        --cut;
      }
      if (cut > 0) {
        carry_.assign(block, cut);
        block.resize(cut);
        return true;
      }
      if (!Fill(block, block.size() + blockBytes_)) {
        return true;  // the last text of the file
      }
    }
  }

 private:
  // Reads from the stream until `block` holds `size` bytes or the stream ends; false when it
  // added nothing.
  bool Fill(std::string& block, std::size_t size) {
    const std::size_t have = block.size();
    if (size > have && rest_) {
      block.resize(size);
      rest_.read(block.data() + have, static_cast<std::streamsize>(size - have));
      block.resize(have + static_cast<std::size_t>(rest_.gcount()));
    }
    return block.size() > have;
  }

  std::istream& rest_;
  std::string carry_;
  std::size_t blockBytes_;
};

// Places the values of the blocks, in file order, into the rows of the grid.
class RowPlacer {
 public:
  RowPlacer(const GridDescription& grid, GridNodeSink& sink, std::uint64_t linesBefore)
      : grid_(grid),
        sink_(sink),
        row_(static_cast<std::size_t>(grid.Columns)),
        line_(linesBefore) {}

  Status Take(const ValueBlock& block) {
    const auto columns = static_cast<std::size_t>(grid_.Columns);
    for (std::size_t k = 0; k < block.values.size(); ++k, ++placed_) {
      if (placed_ == grid_.NodeCount()) {
        return Error(block, OffsetOfValue(block.text, k),
                     " holds more values than the header's " + Promised());
      }
      const auto c = static_cast<std::size_t>(placed_ % grid_.Columns);
      row_[grid_.ColumnsFromEast ? columns - 1 - c : c] = block.values[k];
      if (c + 1 == columns) {
        const auto r = static_cast<std::int32_t>(placed_ / grid_.Columns);
        if (Status s = sink_.Row(grid_.RowsFromNorth ? grid_.Rows - 1 - r : r, row_.data()); !s) {
          return s;
        }
      }
    }
    if (block.bad != std::string::npos) {
      const std::string_view text(block.text);
      std::size_t end = block.bad;
      while (end < text.size() && !IsSeparator(text[end])) {
        ++end;
      }
      return Error(
          block, block.bad,
          ": '" + std::string(text.substr(block.bad, std::min<std::size_t>(end - block.bad, 40))) +
              "' is not a number");
    }
    line_ += LineEnds(block.text);
    open_ = !block.text.empty() && block.text.back() != '\n' && block.text.back() != '\r';
    return Status::Ok();
  }

  Status Finish() const {
    if (placed_ == grid_.NodeCount()) {
      return Status::Ok();
    }
    return Status::Error(ErrorFileFormat, "the file ends at line " +
                                              std::to_string(line_ + (open_ ? 1 : 0)) + " after " +
                                              std::to_string(placed_) + " of the header's " +
                                              Promised() + " values");
  }

 private:
  std::string Promised() const {
    return std::to_string(grid_.Rows) + " x " + std::to_string(grid_.Columns);
  }
  static std::size_t OffsetOfValue(std::string_view text, std::size_t index) {
    std::size_t offset = 0;
    EachToken(text, [&](std::size_t at, std::size_t) {
      offset = at;
      return index-- > 0;
    });
    return offset;
  }
  Status Error(const ValueBlock& block, std::size_t offset, const std::string& what) const {
    const std::uint64_t line = line_ + LineEnds(std::string_view(block.text).substr(0, offset)) + 1;
    return Status::Error(ErrorFileFormat, "line " + std::to_string(line) + what);
  }

  const GridDescription& grid_;
  GridNodeSink& sink_;
  std::vector<double> row_;
  std::int64_t placed_ = 0;
  std::uint64_t line_;  // line ends before the next block
  bool open_ = false;   // the last block ended within a line
};

std::future<ValueBlock> Launch(std::string text, const GridDescription& grid) {
  auto parse = [&grid](std::string t) {
    ValueBlock block{std::move(t), {}, std::string::npos};
    Parse(block, grid);
    return block;
  };
  try {
    return std::async(std::launch::async, parse, std::move(text));
  } catch (const std::system_error&) {
    return std::async(std::launch::deferred, parse, std::move(text));  // no thread: parse here
  }
}

}  // namespace

Status ReadIsgRows(const IsgValueText& text, const GridDescription& grid, GridNodeSink& sink,
                   std::size_t blockBytes) {
  BlockCutter cutter(text, blockBytes);
  RowPlacer placer(grid, sink, text.LinesBefore);
  std::deque<std::future<ValueBlock>> inFlight;
  std::uint64_t consumed = text.BytesBefore;
  std::string next;
  for (;;) {
    while (inFlight.size() < kBlocksInFlight && cutter.Next(next)) {
      inFlight.push_back(Launch(std::move(next), grid));
    }
    if (inFlight.empty()) {
      return placer.Finish();
    }
    const ValueBlock block = inFlight.front().get();
    inFlight.pop_front();
    if (Status s = placer.Take(block); !s) {
      for (auto& pending : inFlight) {
        pending.wait();
      }
      return s;
    }
    consumed += block.text.size();
    sink.Progress(consumed);
  }
}

}  // namespace hextant
