#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "base/angles.h"
#include "readers/catalunya_gr_reader.h"
#include "readers/chunked_read.h"
#include "readers/generic_reader.h"
#include "readers/grid_file_reader.h"
#include "readers/italy_reader.h"
#include "readers/la_reunion_reader.h"
#include "readers/netherlands_reader.h"
#include "readers/poland_reader.h"
#include "readers/reader_fixture.h"
#include "readers/switzerland_reader.h"

namespace hextant::test {
namespace {

std::string SampleBytes(const std::string& name) {
  std::ifstream in(HEXTANT_SAMPLES_DIR "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool GenericLineByLine(std::istream& source, std::uint64_t size, ReaderEnvironment& env,
                       ReaderOutput& output, Status* failure) {
  return ConvertFileGeneric(source, size, env, output, failure, GenericReadPlan{});
}

// Small blocks, so that the first block, the one the mark stood in, is one of many.
bool GenericInBlocks(std::istream& source, std::uint64_t size, ReaderEnvironment& env,
                     ReaderOutput& output, Status* failure) {
  return ConvertFileGeneric(source, size, env, output, failure, GenericReadPlan{2, 4096});
}

struct TextFormat {
  const char* name;
  StreamReader read;
  const char* sample;
  double spacingX, spacingY;  // as the main window hands them over: radians or metres
};

class ByteOrderMark : public ReaderTest {
 protected:
  ByteOrderMark() {
    settings_.Delimiter = " ";  // the generic sample's layout: X Y N in decimal degrees
    settings_.MergeDelimiters = true;
    settings_.CoordinateType = Geographical;
    settings_.AngularUnit = 2;
    settings_.ColumnRoles = {-1, 1, 2, 3, -1, -1, -1, -1, -1, -1, -1};
  }
  std::vector<GeoidPoint> Nodes() const {
    std::vector<GeoidPoint> nodes;
    for (std::int32_t i = 1; i <= Points().Count(); ++i) {
      nodes.push_back(Points().Node(i));
    }
    return nodes;
  }
  void ExpectNothingNoted(const char* read) const {
    const ReadDiagnostics& d = output_.Diagnostics;
    EXPECT_EQ(d.NonNumericValues, 0) << read << ", line " << d.FirstNonNumericLine;
    EXPECT_EQ(d.PartialNumbers, 0) << read << ", line " << d.FirstPartialLine;
    EXPECT_EQ(d.RepeatedNodes, 0) << read;
  }
};

// A mark at the start of a text source is read past: the same nodes, nothing noted.
TEST_F(ByteOrderMark, IsSkippedByEveryTextFormat) {
  const double minute = DegToRad(1.0 / 60);
  const TextFormat formats[] = {
      {"wizard, line by line", GenericLineByLine, "generic_egm96.xyz", 0, 0},
      {"wizard, in blocks", GenericInBlocks, "generic_egm96.xyz", 0, 0},
      {"netherlands", ConvertFileNetherlands, "netherlands_egm96.txt", 5 * minute, 3 * minute},
      {"switzerland", ConvertFileSwitzerland, "switzerland_egm96.txt", 1000, 1000},
      {"italy", Convert_File_Italy, "italy_egm96.txt", 2 * minute, 2 * minute},
      {"la-reunion", ConvertFileLaReunion, "la_reunion_egm96.txt", 0, 0},
      {"catalunya", ConvertFileGR, "catalunya_egm96.gr", 0, 0},
      {"poland", ConvertFilePoland, "poland_egm96.txt", DegToRad(0.01), DegToRad(0.01)},
      {"grid, ISG 2.0", ConvertFileGrid, "isg20_egm96_deg.isg", 0, 0},
      {"grid, ISG 1.0", ConvertFileGrid, "isg10_egm96.isg", 0, 0},
  };
  for (const TextFormat& format : formats) {
    SCOPED_TRACE(format.name);
    const std::string sample = SampleBytes(format.sample);
    ASSERT_FALSE(sample.empty()) << format.sample;
    settings_.SpacingX = format.spacingX;
    settings_.SpacingY = format.spacingY;
    output_ = ReaderOutput{};
    ASSERT_TRUE(Read(format.read, sample)) << failure_.Description();
    ExpectNothingNoted("without the mark");
    const std::vector<GeoidPoint> plain = Nodes();
    ASSERT_GT(plain.size(), 100u);

    settings_.SpacingX = format.spacingX;  // some readers set them from the file
    settings_.SpacingY = format.spacingY;
    output_ = ReaderOutput{};
    if (!Read(format.read, "\xEF\xBB\xBF" + sample)) {
      ADD_FAILURE() << "with the mark: " << failure_.Description();
      continue;
    }
    ExpectNothingNoted("with the mark");
    const std::vector<GeoidPoint> marked = Nodes();
    const auto same = [](const GeoidPoint& a, const GeoidPoint& b) {
      return a.X == b.X && a.Y == b.Y && a.Separation == b.Separation && a.NullFlag == b.NullFlag;
    };
    EXPECT_EQ(marked.size(), plain.size());
    const auto differs =
        std::mismatch(marked.begin(), marked.end(), plain.begin(), plain.end(), same);
    EXPECT_EQ(differs.first, marked.end()) << "node " << differs.first - marked.begin() + 1;
  }
}

}  // namespace
}  // namespace hextant::test
