#include "grids/grid_file.h"

#include <cmath>

#include "grids/binary_values.h"
#include "grids/byn_layout.h"
#include "grids/geotiff_layout.h"
#include "grids/gtx_layout.h"
#include "grids/isg_blocks.h"
#include "grids/isg_header.h"
#include "grids/isg_values.h"
#include "grids/ngs_layout.h"
#include "grids/surfer_binary.h"
#include "grids/text_grid_headers.h"
#include "platform/file_system.h"
#include "platform/source_file.h"
#include "text/joined_stream_buffer.h"
#include "text/line_reader.h"

namespace hextant {

// The file's lines, the bytes already read for the head first.
class GridFile::Lines {
 public:
  Lines(const std::string& head, std::istream& rest)
      : buffer_({head}, rest.rdbuf()), stream_(&buffer_), reader_(stream_) {}
  LineReader& Reader() noexcept { return reader_; }
  std::istream& Stream() noexcept { return stream_; }

 private:
  JoinedStreamBuffer buffer_;
  std::istream stream_;
  LineReader reader_;
};

std::optional<GridLayout> RecognizeGridLayout(std::string_view head, std::uint64_t size) noexcept {
  if (LooksLikeTiff(head)) {
    return GridLayout::GeoTiff;
  }
  // NGS first: its header is GTX's and four bytes more, which a GTX length never matches.
  if (LooksLikeNgs(head, size)) {
    return GridLayout::Ngs;
  }
  if (LooksLikeGtx(head, size)) {
    return GridLayout::Gtx;
  }
  if (LooksLikeByn(head, size)) {
    return GridLayout::Byn;
  }
  if (LooksLikeSurfer(head)) {
    return GridLayout::Surfer;
  }
  if (LooksLikeIsg(head)) {
    return GridLayout::Isg;
  }
  if (LooksLikeEsriAscii(head)) {
    return GridLayout::EsriAscii;
  }
  return std::nullopt;
}

std::optional<GridLayout> GridLayoutNamed(std::string_view name) noexcept {
  for (const GridLayoutName& layout : GridLayoutNames) {
    if (name == layout.Name) {
      return layout.Layout;
    }
  }
  return std::nullopt;
}

std::optional<GridLayout> ForcedGridLayout(std::int16_t setting) noexcept {
  return setting < 0 ? std::nullopt : std::optional(static_cast<GridLayout>(setting));
}

namespace {

// The first GridHeadSize bytes of `source` (fewer in a shorter file).
std::string ReadHead(std::istream& source, std::uint64_t size) {
  std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(size, GridHeadSize)), '\0');
  source.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(source.gcount()));
  return head;
}

}  // namespace

GridFile::GridFile(std::istream& source, std::uint64_t size) : source_(source), size_(size) {}

GridFile::~GridFile() = default;

Status GridFile::ReadHeader(std::optional<GridLayout> forced) {
  head_ = ReadHead(source_, size_);
  const std::optional<GridLayout> layout = forced ? forced : RecognizeGridLayout(head_, size_);
  if (!layout) {
    return Status::Error(ErrorFileFormat,
                         "the file is no grid this version reads: neither an ISG file (no line "
                         "starts with begin_of_head), an ESRI ASCII grid (no ncols or nrows "
                         "first), a Surfer grid (no DSAA, DSBB or DSRB first), a GeoTIFF (no "
                         "TIFF header) nor a GTX, NGS or BYN file (its first bytes do not "
                         "describe a grid of its length)");
  }
  switch (*layout) {
    case GridLayout::Gtx:
      return ReadGtxHeader(head_, size_, grid_);
    case GridLayout::Ngs:
      return ReadNgsHeader(head_, size_, grid_);
    case GridLayout::Byn:
      return ReadBynHeader(head_, size_, grid_);
    case GridLayout::Surfer:
      return LooksLikeSurferText(head_) ? ReadTextHeader(*layout)
                                        : ReadSurferBinaryHeader(head_, size_, grid_);
    case GridLayout::GeoTiff:
      source_.clear();
      tiff_ = std::make_unique<GeoTiffGrid>(source_, size_);
      return tiff_->ReadHeader(grid_);
    default:
      return ReadTextHeader(*layout);
  }
}

Status GridFile::ReadTextHeader(GridLayout layout) {
  source_.clear();
  lines_ = std::make_unique<Lines>(head_, source_);
  Status s = Status::Ok();
  switch (layout) {
    case GridLayout::Isg:
      s = ReadIsgHeader(lines_->Reader(), grid_);
      break;
    case GridLayout::EsriAscii:
      s = ReadEsriAsciiHeader(lines_->Reader(), grid_, firstValues_);
      break;
    case GridLayout::Surfer:
      s = ReadSurferTextHeader(lines_->Reader(), grid_);
      break;
    default:
      s = Status::Error(ErrorFileFormat, "the file's layout is not read by this version");
  }
  if (!s) {
    return s;
  }
  // Each value takes a byte at least: a header that promises more than the rest of the file can
  // hold is refused before anything is sized by it.
  const std::uint64_t dataOffset = lines_->Reader().Consumed() - firstValues_.size();
  const std::uint64_t room = size_ - std::min(size_, dataOffset);
  if (!grid_.Sparse && static_cast<std::uint64_t>(grid_.NodeCount()) > room) {
    return Status::Error(ErrorFileFormat, "the header promises " + std::to_string(grid_.Rows) +
                                              " x " + std::to_string(grid_.Columns) +
                                              " values, but only " + std::to_string(room) +
                                              " bytes follow it");
  }
  return Status::Ok();
}

Status GridFile::ReadNodes(GridNodeSink& sink) {
  if (lines_) {
    return ReadTextValues(sink);
  }
  if (tiff_) {
    return tiff_->ReadValues(grid_, sink);
  }
  // The head holds the first values already: the stream goes on after them, so read them anew.
  source_.clear();
  source_.seekg(static_cast<std::streamoff>(grid_.DataOffset));
  if (!source_) {
    return Status::Error(ErrorFileAccess, "the file cannot be read again after its header");
  }
  switch (grid_.Layout) {
    case GridLayout::Gtx:
      return ReadGtxValues(source_, grid_, sink);
    case GridLayout::Ngs:
      return ReadBinaryValues(source_, grid_, sink, "NGS");
    case GridLayout::Byn:
      return ReadBinaryValues(source_, grid_, sink, "BYN");
    case GridLayout::Surfer:
      return ReadBinaryValues(source_, grid_, sink, "Surfer");
    default:
      return Status::Error(ErrorFileFormat, "the file's layout is not read by this version");
  }
}

Status GridFile::ReadTextValues(GridNodeSink& sink) {
  LineReader& reader = lines_->Reader();
  if (grid_.Sparse) {
    return ReadIsgValues(reader, grid_, sink);
  }
  std::string_view buffered;
  if (!reader.Unread(buffered)) {
    return Status::Error(ErrorFileFormat, "line " + std::to_string(reader.LinesRead()) +
                                              " of the header is longer than 1 MiB");
  }
  std::uint64_t linesBefore = reader.LinesRead();
  std::uint64_t bytesBefore = reader.Consumed();
  if (!firstValues_.empty()) {  // the line of values that ended the header goes first
    const std::size_t lineBytes = firstValues_.size() + 1;
    firstValues_ += '\n';
    firstValues_.append(buffered);
    buffered = firstValues_;
    --linesBefore;
    bytesBefore -= std::min<std::uint64_t>(bytesBefore, lineBytes);
  }
  return ReadIsgRows({buffered, lines_->Stream(), linesBefore, bytesBefore}, grid_, sink);
}

namespace {

class CountingSink final : public GridNodeSink {
 public:
  Status Row(std::int32_t, const double* values) override {
    for (std::int32_t a = 0; a < columns; ++a) {
      count += std::isnan(values[a]) ? 1 : 0;
    }
    return Status::Ok();
  }
  Status Point(double, double, double value) override {
    count += std::isnan(value) ? 1 : 0;
    return Status::Ok();
  }
  void Progress(std::uint64_t) override {}
  std::int32_t columns = 0;
  std::int64_t count = 0;
};

// Opens `path`, reads its header and then does `read` with the file; a failure names the file,
// and when a read failed, that is the cause whatever the layout made of the early end. (A read
// that fails past what was needed, as the head's may, is left to the reader that gets there.)
template <typename Read>
Status WithGridFile(const std::filesystem::path& path, std::optional<GridLayout> forced,
                    Read read) {
  SourceFile source;
  if (Status s = source.Open(path); !s) {
    return s;
  }
  GridFile file(source.Stream(), source.Size());
  Status s = file.ReadHeader(forced);
  if (s) {
    s = read(file);
  }
  if (s) {
    return s;
  }
  const Status readError = source.ReadError();
  return readError ? Status::Error(s.Number(), PathText(path) + ": " + s.Description()) : readError;
}

}  // namespace

Status DescribeGridFile(const std::filesystem::path& path, GridDescription& grid,
                        std::optional<GridLayout> forced) {
  return WithGridFile(path, forced, [&](GridFile& file) {
    grid = file.Description();
    return Status::Ok();
  });
}

Status CountNodesWithoutValue(const std::filesystem::path& path, std::optional<GridLayout> forced,
                              std::int64_t& count) {
  CountingSink sink;
  const Status s = WithGridFile(path, forced, [&](GridFile& file) {
    sink.columns = file.Description().Columns;
    return file.ReadNodes(sink);
  });
  count = sink.count;
  return s;
}

std::optional<GridLayout> RecognizeGridFile(const std::filesystem::path& path) {
  SourceFile source;
  if (!source.Open(path)) {
    return std::nullopt;
  }
  return RecognizeGridLayout(ReadHead(source.Stream(), source.Size()), source.Size());
}

}  // namespace hextant
