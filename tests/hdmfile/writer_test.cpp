#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <functional>

#include <sys/resource.h>

#include "hdm_layout.h"
#include "hdm_reader.h"
#include "hdmfile/model_writer.h"
#include "temp_dir.h"

namespace hextant::test {
namespace {

namespace fs = std::filesystem;

hdm::HdmModel ReadBack(const std::string& path) {
  const auto result = hdm::ReadHdmFile(path);
  EXPECT_TRUE(result.model.has_value()) << result.error;
  return result.model.value_or(hdm::HdmModel{});
}

struct RoundTripCase {
  const char* name;
  TestModel model;
  std::vector<std::int16_t> expectedCodes;
};

TestModel GeographicalInCentimetres() {
  TestModel m;
  m.bodyFlags = 1;  // Series R: the coordinate type alone
  m.coordinateType = 1;
  m.resolutionCode = 2;
  m.firstX = -0.1;
  m.firstY = -0.7;
  m.spacingX = 0.004363323129985824;
  m.spacingY = 0.004363323129985824;
  m.lastX = m.firstX + 2 * m.spacingX;
  m.lastY = m.firstY + m.spacingY;
  m.separationOffset = -12.5;
  m.ellipsoidName = "Everest W.Malaysia/Singap";
  m.semiMajorAxis = 6377304.063;
  m.flattening = 1.0 / 300.8017;
  m.separations = {-12.5, -12.494, -12.506, 32767.0, 20.0, -40.0};
  m.nullFlags = {0, 0, 0, -1, 0, 0};
  return m;
}

TEST(HdmWriter, RoundTripKeepsEveryValue) {
  const RoundTripCase cases[] = {
      {"grid in millimetres", TestModel{}, {0, 1, -1, hdm::kNullCode, 1500, -1750}},
      // -12.494 is 0.6 cm above the offset: rounds to 1; -12.506 to -1.
      {"geographical in centimetres",
       GeographicalInCentimetres(),
       {0, 1, -1, hdm::kNullCode, 3250, -2750}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = dir.File("model.HDM");
    ASSERT_EQ(WriteModel(path, c.model).points, HDM_OK);
    const hdm::HdmModel m = ReadBack(path);
    const TestModel& s = c.model;
    EXPECT_EQ(m.coordinateType, s.coordinateType);
    EXPECT_EQ(m.resolutionCode, s.resolutionCode);
    EXPECT_EQ(m.bodyFlags, s.bodyFlags);
    EXPECT_EQ(m.nodes, s.Nodes());
    EXPECT_EQ(m.rows, s.rows);
    EXPECT_EQ(m.Columns(), 3);
    EXPECT_EQ(m.firstX, s.firstX);
    EXPECT_EQ(m.firstY, s.firstY);
    EXPECT_EQ(m.lastX, s.lastX);
    EXPECT_EQ(m.lastY, s.lastY);
    EXPECT_EQ(m.spacingX, s.spacingX);
    EXPECT_EQ(m.spacingY, s.spacingY);
    EXPECT_EQ(m.separationOffset, s.separationOffset);
    EXPECT_EQ(m.ellipsoidName, s.ellipsoidName);
    EXPECT_EQ(m.semiMajorAxis, s.semiMajorAxis);
    EXPECT_EQ(m.flattening, s.flattening);
    EXPECT_EQ(m.codes, c.expectedCodes);
    const double unit = s.resolutionCode == 1 ? 0.001 : 0.01;
    for (std::size_t k = 0; k < m.codes.size(); ++k) {
      if (s.nullFlags[k] == 0) {
        EXPECT_NEAR(*m.Separation(k), s.separations[k], unit / 2 + 1e-12) << "node " << k;
      } else {
        EXPECT_FALSE(m.Separation(k).has_value()) << "node " << k;
      }
    }
    EXPECT_FALSE(fs::exists(path + ".part")) << "staging file left behind";
  }
}

TEST(HdmWriter, StoresTheFullSixteenBitRangeAndRoundsToNearest) {
  TestModel s;
  s.rows = 1;
  s.lastX = s.firstX + 6 * s.spacingX;
  s.lastY = s.firstY;
  // A separation of exactly NullSeparation marks a node without value even with NullFlag 0.
  s.separations = {40.0 + 32.767, 40.0 - 32.767, 40.0004, 40.0006, 39.9994, 39.9996, 32767.0};
  s.nullFlags = {0, 0, 0, 0, 0, 0, 0};
  TempDir dir;
  const std::string path = dir.File("range.HDM");
  ASSERT_EQ(WriteModel(path, s).points, HDM_OK);
  EXPECT_EQ(ReadBack(path).codes,
            (std::vector<std::int16_t>{32767, -32767, 0, 1, -1, 0, hdm::kNullCode}));
}

TEST(HdmWriter, ModelAppearsOnlyWhenComplete) {
  TempDir dir;
  const std::string path = dir.File("model.HDM");
  const TestModel s;
  ASSERT_EQ(WriteHeaderFileHDM(path.c_str()), HDM_OK);
  ASSERT_EQ(WriteBodyFileHDM(path.c_str(), s.bodyFlags, s.Nodes()), HDM_OK);
  ASSERT_EQ(
      WriteCoordTypeFileHDM(path.c_str(), s.coordinateType, s.resolutionCode, s.firstX, s.firstY,
                            s.lastX, s.lastY, s.spacingX, s.spacingY, s.separationOffset, s.rows,
                            s.Nodes(), s.ellipsoidName.c_str(), s.semiMajorAxis, s.flattening),
      HDM_OK);
  EXPECT_FALSE(fs::exists(path)) << "the first three calls must not create the model";
  const std::vector<double> block = s.PointBlock();
  ASSERT_EQ(WritePtsFileHDM(path.c_str(), block.data(), s.Nodes(), s.separationOffset), HDM_OK);
  EXPECT_TRUE(fs::exists(path));
  EXPECT_FALSE(fs::exists(path + ".part"));
}

// Each case spoils one thing about an otherwise valid write; the expected code is the one the
// failing call reports (the last call fails for all of them).
struct RefusalCase {
  const char* name;
  std::function<void(TestModel&)> spoil;
  std::int16_t WriteResults::*failingCall;
  std::int16_t expected;
};

TEST(HdmWriter, RefusesWhatCannotBeRightAndLeavesNoModel) {
  const RefusalCase cases[] = {
      {"separation above the range", [](TestModel& m) { m.separations[0] = 40.0 + 32.7675; },
       &WriteResults::points, HDM_E_RANGE},
      {"separation below the range (would collide with the null code)",
       [](TestModel& m) { m.separations[0] = 40.0 - 32.7675; }, &WriteResults::points, HDM_E_RANGE},
      {"centimetres do not widen past 16 bits",
       [](TestModel& m) {
         m.resolutionCode = 2;
         m.separations[0] = 40.0 + 327.68;
       },
       &WriteResults::points, HDM_E_RANGE},
      {"separation not a number", [](TestModel& m) { m.separations[0] = std::nan(""); },
       &WriteResults::points, HDM_E_RANGE},
      {"no node", [](TestModel& m) { m.separations.clear(); }, &WriteResults::body, HDM_E_ARGUMENT},
      {"coordinate type 3 in the flags", [](TestModel& m) { m.bodyFlags = 3; }, &WriteResults::body,
       HDM_E_ARGUMENT},
      {"two interpolation bits",
       [](TestModel& m) { m.bodyFlags = 2 | HDM_FLAG_INTERPOLATION_4 | HDM_FLAG_INTERPOLATION_9; },
       &WriteResults::body, HDM_E_ARGUMENT},
      {"flags of another coordinate type", [](TestModel& m) { m.coordinateType = 1; },
       &WriteResults::coord, HDM_E_INCONSISTENT},
      {"resolution code 3", [](TestModel& m) { m.resolutionCode = 3; }, &WriteResults::coord,
       HDM_E_INCONSISTENT},
      {"zero rows", [](TestModel& m) { m.rows = 0; }, &WriteResults::coord, HDM_E_INCONSISTENT},
      {"more rows than nodes", [](TestModel& m) { m.rows = 7; }, &WriteResults::coord,
       HDM_E_INCONSISTENT},
      {"zero spacing", [](TestModel& m) { m.spacingY = 0.0; }, &WriteResults::coord,
       HDM_E_INCONSISTENT},
      {"infinite coordinate", [](TestModel& m) { m.lastX = INFINITY; }, &WriteResults::coord,
       HDM_E_INCONSISTENT},
      {"ellipsoid name of 256 bytes", [](TestModel& m) { m.ellipsoidName.assign(256, 'E'); },
       &WriteResults::coord, HDM_E_ARGUMENT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = dir.File("model.HDM");
    TestModel model;
    c.spoil(model);
    const WriteResults results = WriteModel(path, model);
    EXPECT_EQ(results.*c.failingCall, c.expected);
    EXPECT_NE(results.points, HDM_OK);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(fs::exists(path + ".part"));
  }
}

TEST(HdmWriter, PointsRefuseMissingOrMismatchedSections) {
  TempDir dir;
  const std::string path = dir.File("model.HDM");
  const TestModel s;
  const std::vector<double> block = s.PointBlock();
  auto header = [&] { return WriteHeaderFileHDM(path.c_str()); };
  auto body = [&] { return WriteBodyFileHDM(path.c_str(), s.bodyFlags, s.Nodes()); };
  auto coord = [&] {
    return WriteCoordTypeFileHDM(path.c_str(), s.coordinateType, s.resolutionCode, s.firstX,
                                 s.firstY, s.lastX, s.lastY, s.spacingX, s.spacingY,
                                 s.separationOffset, s.rows, s.Nodes(), s.ellipsoidName.c_str(),
                                 s.semiMajorAxis, s.flattening);
  };
  auto points = [&](std::int32_t n, double offset, const double* data) {
    return WritePtsFileHDM(path.c_str(), data, n, offset);
  };
  const double* data = block.data();

  EXPECT_EQ(points(s.Nodes(), s.separationOffset, data), HDM_E_SEQUENCE) << "nothing written";

  header();
  body();
  EXPECT_EQ(points(s.Nodes(), s.separationOffset, data), HDM_E_SEQUENCE) << "no coordinates";

  header();
  body();
  EXPECT_EQ(body(), HDM_E_SEQUENCE) << "body twice";
  EXPECT_EQ(coord(), HDM_E_SEQUENCE) << "the repeated body discarded the staging file";

  header();
  EXPECT_EQ(coord(), HDM_E_SEQUENCE) << "coordinates before the body";

  const std::pair<const char*, std::function<std::int16_t()>> mismatches[] = {
      {"other node count", [&] { return points(s.Nodes() - 1, s.separationOffset, data); }},
      {"other offset", [&] { return points(s.Nodes(), s.separationOffset + 0.001, data); }},
      {"no point list", [&] { return points(s.Nodes(), s.separationOffset, nullptr); }},
  };
  for (const auto& [what, call] : mismatches) {
    SCOPED_TRACE(what);
    ASSERT_EQ(header(), HDM_OK);
    ASSERT_EQ(body(), HDM_OK);
    ASSERT_EQ(coord(), HDM_OK);
    EXPECT_NE(call(), HDM_OK);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(fs::exists(path + ".part"));
  }
}

TEST(HdmWriter, FailedWriteRemovesAnEarlierModelAtThePath) {
  TempDir dir;
  const std::string path = dir.File("model.HDM");
  ASSERT_EQ(WriteModel(path, TestModel{}).points, HDM_OK);
  TestModel broken;
  broken.separations[2] = 1000.0;
  EXPECT_EQ(WriteModel(path, broken).points, HDM_E_RANGE);
  EXPECT_FALSE(fs::exists(path));
}

TEST(HdmWriter, ReportsInputOutputFailures) {
  TempDir dir;
  {
    SCOPED_TRACE("missing folder");
    const std::string path = dir.File("missing/model.HDM");
    const WriteResults r = WriteModel(path, TestModel{});
    EXPECT_EQ(r.header, HDM_E_IO);
    EXPECT_NE(r.points, HDM_OK);
  }
  {
    SCOPED_TRACE("a folder stands at the path");
    const std::string path = dir.File("folder.HDM");
    fs::create_directories(fs::path(path) / "content");
    EXPECT_EQ(WriteModel(path, TestModel{}).points, HDM_E_IO);
    EXPECT_TRUE(fs::is_directory(path)) << "a folder is never removed";
    EXPECT_FALSE(fs::exists(path + ".part"));
  }
}

// A file-size limit makes the writes fail part-way through, as a full disk does.
TEST(HdmWriter, DiskFullPartWayLeavesNoModel) {
  TestModel s;
  s.rows = 1;
  s.separations.assign(200000, 40.5);
  s.nullFlags.assign(200000, 0.0);
  s.lastX = s.firstX + (200000 - 1) * s.spacingX;
  s.lastY = s.firstY;
  TempDir dir;
  const std::string path = dir.File("big.HDM");

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = 100000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const WriteResults r = WriteModel(path, s);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedHandler);

  EXPECT_EQ(r.coord, HDM_OK);
  EXPECT_EQ(r.points, HDM_E_IO);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_FALSE(fs::exists(path + ".part"));
}

}  // namespace
}  // namespace hextant::test
