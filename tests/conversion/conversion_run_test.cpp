#include <gtest/gtest.h>

#include <filesystem>

#include "conversion/conversion_run.h"
#include "fakes/platform_fakes.h"
#include "hdmfile/crc32.h"
#include "hdmfile/hdm_reader.h"
#include "temp_dir.h"

namespace hextant::test {
namespace {

namespace fs = std::filesystem;

TEST(BodyFlags, AddInterpolationAndLocalSideForSeriesQOnly) {
  EXPECT_EQ(BodyFlags(2, 1, 1, 1), 74);  // grid, Series Q, 9 points, local side
  EXPECT_EQ(BodyFlags(1, 1, 0, 0), 17);
  EXPECT_EQ(BodyFlags(1, 1, 2, 1), 41);
  EXPECT_EQ(BodyFlags(2, 0, 1, 1), 2) << "Series R: the coordinate type alone";
}

// A run over a 3 × 4 grid (0.5 apart, from 10, 20) delivered shuffled by a fake reader.
class Run : public ::testing::Test {
 protected:
  Run() {
    BuildEllipsoidTable(settings_);
    settings_.SourceFormat = 7;
    settings_.SourceFile = dir_.File("source.gr");
    settings_.CoordinateType = Grid;
    settings_.EllipsoidCode = Wgs1984Code;
    settings_.SpacingX = settings_.SpacingY = 0.5;
    settings_.InstrumentType = 1;
    settings_.InterpolationIndex = 1;
    settings_.InterpolationText = "9 Points";
    settings_.LocalSide = 1;
    for (int r = 2; r >= 0; --r) {
      for (int c = 3; c >= 0; --c) {
        nodes_.push_back({10.0 + 0.5 * c, 20.0 + 0.5 * r, 40.0 + r + 0.001 * c, 0.0});
      }
    }
  }

  RunReport Start(RunOptions options = {}) {
    ConversionRun run(settings_, RunServices{messages_, dialogs_, page_, page_, page_},
                      [this](const fs::path&, ReaderEnvironment& env, ReaderOutput& out) {
                        ++reads_;
                        for (const auto& node : nodes_) {
                          env.Settings.PointList.Append(node);
                        }
                        out = output_;
                        return readerSucceeds_;
                      });
    return run.Run(options);
  }

  std::string Model() const { return dir_.File("source.HDM"); }
  std::string Ini() const { return dir_.File("HdmToTarvo.INI"); }

  TempDir dir_;
  ConversionSettings settings_;
  ScriptedMessageBoxes messages_;
  ScriptedFileDialogs dialogs_;
  RecordingPage page_;
  std::vector<GeoidPoint> nodes_;
  ReaderOutput output_ = [] {
    ReaderOutput out;
    out.SeparationOffset = 41.0;
    out.ResolutionCode = ResolutionMillimetres;
    return out;
  }();
  bool readerSucceeds_ = true;
  int reads_ = 0;
};

TEST_F(Run, CompletesWithResultsModelAndSettingsFile) {
  nodes_[5].Separation += 0.0004;  // 41.0024 at 11, 20.5: stored as 41.002
  const RunReport report = Start();
  ASSERT_EQ(report.Outcome, RunOutcome::Completed);
  EXPECT_EQ(page_.status, "Status: Sorting and Writing File");
  EXPECT_EQ(page_.progressCaption, "100 %");
  ASSERT_EQ(page_.results.size(), 1u);
  EXPECT_EQ(page_.results[0].OutputFile, Model());
  EXPECT_EQ(page_.results[0].Points, " 12");
  EXPECT_EQ(page_.results[0].Rows, " 3");
  EXPECT_EQ(page_.results[0].Columns, " 4");
  EXPECT_EQ(page_.results[0].Units, "mm");
  EXPECT_EQ(page_.results[0].Verification,
            "every node within 0.5 mm of the source (largest difference 0.4 mm, at 11 20.5)");
  EXPECT_TRUE(fs::exists(Ini()));

  const auto read = hdm::ReadHdmFile(Model());
  ASSERT_TRUE(read.model) << read.error;
  const hdm::HdmModel& m = *read.model;
  EXPECT_EQ(m.bodyFlags, 74);
  EXPECT_EQ(m.lastX, 11.5);
  EXPECT_EQ(m.rows, 3);
  EXPECT_EQ(m.separationOffset, 41.0);
  EXPECT_EQ(m.ellipsoidName, "WGS 1984");
  EXPECT_EQ(m.flattening, 1 / 298.25722356);
  const std::vector<std::int16_t> sortedCodes{-1000, -999, -998, -997, 0,    1,
                                              2,     3,    1000, 1001, 1002, 1003};
  EXPECT_EQ(m.codes, sortedCodes) << "nodes in grid order, south-west first";
}

TEST_F(Run, StopsBeforeWritingWhenTheReaderOrTheColumnCheckSaysNo) {
  readerSucceeds_ = false;
  EXPECT_EQ(Start().Outcome, RunOutcome::StoppedBeforeWriting);
  EXPECT_EQ(page_.status, "") << "stopped before sorting";

  settings_.SourceFormat = 0;
  RunOptions options;
  options.CheckColumnRoles = [] { return false; };
  EXPECT_EQ(Start(options).Outcome, RunOutcome::ColumnCheckFailed);
  EXPECT_EQ(reads_, 1) << "the reader is not run after a failed column check";
  EXPECT_FALSE(fs::exists(Model()));
  EXPECT_TRUE(messages_.shown.empty());
}

// A writer failure costs nothing: the placeholder the run made for a new name goes, an earlier
// model stays byte for byte, no staging file is left, and the page says why.
TEST_F(Run, WriterFailureKeepsWhatWasThereAndSaysWhy) {
  nodes_[0].Separation = 500.0;  // far outside 16 bits of millimetres around 41 m
  for (const bool earlierModel : {false, true}) {
    SCOPED_TRACE(earlierModel ? "over an earlier model" : "new name");
    if (earlierModel) {
      WriteBytes(Model(), {'o', 'l', 'd'});
      messages_.answers = {MessageAnswer::Yes};
    }
    const RunReport report = Start();
    EXPECT_EQ(report.Outcome, RunOutcome::WriterFailed);
    EXPECT_EQ(report.WriterResult, 5);
    EXPECT_EQ(page_.progressCaption, "100 %");
    EXPECT_EQ(page_.status,
              "Status: Nothing was written: a separation does not fit the 16-bit range at the "
              "chosen resolution");
    EXPECT_EQ(messages_.shown.size(), earlierModel ? 1u : 0u) << "only the overwrite question";
    EXPECT_EQ(fs::exists(Model()), earlierModel);
    if (earlierModel) {
      EXPECT_EQ(ReadBytes(Model()), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()),
              earlierModel ? 1 : 0);
    messages_.shown.clear();
  }
}

// The written model is read back before it replaces anything: one whose stored values differ from
// the source's (here a code changed with its checksum made right again) or that does not read
// at all is removed, and an earlier model stays byte for byte.
TEST_F(Run, AModelThatReadsBackWrongNeverReplacesTheEarlierOne) {
  struct Case {
    const char* what;
    bool fixChecksum;
    const char* because;
  };
  for (const Case& c : {Case{"a code changed", true,
                             "node 1 was read back as 40.001 m where the "
                             "source gives 40 m"},
                        Case{"a byte changed", false, "CRC"}}) {
    SCOPED_TRACE(c.what);
    WriteBytes(Model(), {'o', 'l', 'd'});
    messages_.answers = {MessageAnswer::Yes};
    RunOptions options;
    options.BeforeReadBack = [&c](const fs::path& written) {
      std::vector<std::uint8_t> bytes = ReadBytes(written);
      const std::size_t firstCode = bytes.size() - 4 - 2 * 12;
      bytes[firstCode] ^= 0x01;  // code -1000 becomes -999
      if (c.fixChecksum) {
        const std::uint32_t crc = hdm::Crc32(bytes.data(), bytes.size() - 4);
        for (int i = 0; i < 4; ++i) {
          bytes[bytes.size() - 4 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
        }
      }
      WriteBytes(written, bytes);
    };
    const RunReport report = Start(options);
    EXPECT_EQ(report.Outcome, RunOutcome::WriterFailed);
    EXPECT_NE(report.Failure.find("the model read back differs from the source"),
              std::string::npos);
    EXPECT_NE(report.Failure.find(c.because), std::string::npos) << report.Failure;
    EXPECT_EQ(ReadBytes(Model()), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 1)
        << "the model read back is gone, and no settings file was written";
    EXPECT_TRUE(page_.results.empty());
  }
}

TEST_F(Run, RefusesAnEmptyReadAndReportsNodesOffTheLattice) {
  const std::vector<GeoidPoint> grid = nodes_;
  nodes_.clear();
  EXPECT_EQ(Start().Outcome, RunOutcome::StoppedBeforeWriting);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].Text.rfind("No node was read from " + dir_.File("source.gr"), 0),
            0u);
  EXPECT_TRUE(fs::is_empty(dir_.Path())) << "no model file for an empty read";

  // One node shifted within its row and another doubled: the count still passes.
  nodes_ = grid;
  nodes_[5].X += 0.2;
  nodes_[7] = nodes_[6];
  const RunReport report = Start();
  EXPECT_EQ(report.Outcome, RunOutcome::Completed);
  EXPECT_EQ(report.Lattice.OffLattice, 1);
  EXPECT_EQ(report.Lattice.Duplicates, 1);
}

TEST_F(Run, GivesUpOnAFolderThatAnotherConversionKeeps) {
  FolderLock other(dir_.Path());
  ASSERT_TRUE(other.TryLock());
  RunOptions options;
  options.FolderWait = std::chrono::milliseconds(200);
  const RunReport report = Start(options);
  EXPECT_EQ(report.Outcome, RunOutcome::StoppedBeforeWriting);
  EXPECT_EQ(report.Failure,
            "no model was written to " + Model() + ": another conversion kept its folder");
  ASSERT_FALSE(messages_.shown.empty());
  const std::string& text = messages_.shown.back().Text;
  EXPECT_EQ(text.rfind("Another conversion has been writing into the folder ", 0), 0u) << text;
  EXPECT_NE(text.find(" for 0.2 seconds: nothing was written."), std::string::npos) << text;
  EXPECT_FALSE(fs::exists(Model())) << "the placeholder of the new name is taken back";
  EXPECT_FALSE(fs::exists(Ini()));
}

TEST_F(Run, IrregularGridKeepsTheModelAndSkipsTheSettingsFile) {
  nodes_.erase(nodes_.begin() + 5);
  EXPECT_EQ(Start().Outcome, RunOutcome::IrregularGrid);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].Title, "ERROR");
  EXPECT_EQ(messages_.shown[0].Text, "THE GRID IS NOT REGULAR");
  EXPECT_TRUE(page_.results.empty());
  EXPECT_TRUE(hdm::ReadHdmFile(Model()).model.has_value());
  EXPECT_FALSE(fs::exists(Ini()));
}

TEST_F(Run, ASecondRunCannotStartDuringOne) {
  RunReport inner;
  ConversionRun* running = nullptr;
  ConversionRun run(settings_, RunServices{messages_, dialogs_, page_, page_, page_},
                    [&](const fs::path&, ReaderEnvironment&, ReaderOutput&) {
                      inner = running->Run();
                      return false;
                    });
  running = &run;
  EXPECT_EQ(run.Run().Outcome, RunOutcome::StoppedBeforeWriting);
  EXPECT_EQ(inner.Outcome, RunOutcome::AlreadyRunning);
  EXPECT_EQ(run.Run().Outcome, RunOutcome::StoppedBeforeWriting) << "a finished run frees it";
}

}  // namespace
}  // namespace hextant::test
