#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>
#include <utility>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "hdmfile/hdm_layout.h"
#include "hdmfile/hdm_reader.h"
#include "hdmfile/model_writer.h"
#include "hdmfile/utf8_path.h"
#include "temp_dir.h"

namespace hextant::test {
namespace {

namespace fs = std::filesystem;

// The names in `folder`, so a test sees every file a write left behind (staging files included).
std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

[[maybe_unused]] std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

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
    // The reader's model and the description share the field names.
    const auto header = [](const auto& v) {
      return std::tuple(v.coordinateType, v.resolutionCode, v.bodyFlags, v.rows, v.firstX, v.firstY,
                        v.lastX, v.lastY, v.spacingX, v.spacingY, v.separationOffset,
                        v.ellipsoidName, v.semiMajorAxis, v.flattening);
    };
    EXPECT_EQ(header(m), header(s));
    EXPECT_EQ(m.nodes, s.Nodes());
    EXPECT_EQ(m.codes, c.expectedCodes);
    const double unit = s.resolutionCode == 1 ? 0.001 : 0.01;
    for (std::size_t k = 0; k < m.codes.size(); ++k) {
      if (s.nullFlags[k] == 0) {
        EXPECT_NEAR(*m.Separation(k), s.separations[k], unit / 2 + 1e-12) << "node " << k;
      } else {
        EXPECT_FALSE(m.Separation(k).has_value()) << "node " << k;
      }
    }
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"model.HDM"}) << "debris left";
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

// Encoding rounds to the nearest code, halves away from zero, and refuses what rounds outside the
// 16-bit codes: exact figures, since one C library's round takes the largest double below one
// half up to 1.
TEST(HdmWriter, EncodesToTheNearestCodeHalvesAwayFromZero) {
  const double below = std::nextafter(0.5, 0.0);
  constexpr int kRefused = 99999;
  const std::pair<double, int> cases[] = {{0.0, 0},
                                          {-0.0, 0},
                                          {0.5, 1},
                                          {-0.5, -1},
                                          {below, 0},
                                          {-below, 0},
                                          {1.5, 2},
                                          {-1.5, -2},
                                          {2.5, 3},
                                          {-2.5, -3},
                                          {2.4999, 2},
                                          {-2.5001, -3},
                                          {32766.5, 32767},
                                          {-32766.5, -32767},
                                          {32767.4, 32767},
                                          {-32767.4, -32767},
                                          {32767.5, kRefused},
                                          {-32767.5, kRefused},
                                          {32768.0, kRefused},
                                          {-32768.0, kRefused},
                                          {1e300, kRefused},
                                          {-INFINITY, kRefused},
                                          {NAN, kRefused}};
  for (const auto& [units, expected] : cases) {
    std::int16_t code = 0;
    const bool encoded = hdm::EncodeSeparation(units, 0.0, 0.0, 1.0, code);
    EXPECT_EQ(encoded, expected != kRefused) << units;
    if (encoded) {
      EXPECT_EQ(code, expected) << units;
    }
  }
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
    EXPECT_EQ(results.points, c.expected) << "the last call reports the first failure";
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
  }
}

TEST(HdmWriter, WritesOnlyTheCompleteSequence) {
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
  ASSERT_EQ(header(), HDM_OK);
  ASSERT_EQ(body(), HDM_OK);
  ASSERT_EQ(coord(), HDM_OK);
  EXPECT_TRUE(FilesIn(dir.Path()).empty()) << "the model appears only when complete";
  ASSERT_EQ(points(s.Nodes(), s.separationOffset, data), HDM_OK);
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"model.HDM"});
  fs::remove(path);

  header();
  body();
  EXPECT_EQ(points(s.Nodes(), s.separationOffset, data), HDM_E_SEQUENCE) << "no coordinates";

  header();
  body();
  EXPECT_EQ(body(), HDM_E_SEQUENCE) << "body twice";
  EXPECT_EQ(coord(), HDM_E_SEQUENCE) << "the failed body spoils the rest of the sequence";

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
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
  }
}

// Paths are UTF-8 text: a folder named in three scripts is written to and read back on every
// system (on Windows through wide paths, so the system code page need not hold the name); bytes
// that are not UTF-8 name no file on Windows and are a name like any other on POSIX.
TEST(HdmWriter, TakesPathsAsUtf8) {
#if defined(_WIN32)
  constexpr bool kAnyBytes = false;
#else
  constexpr bool kAnyBytes = true;
#endif
  const struct {
    const char* folder;
    bool written;
  } cases[] = {{"Géoïde Ø 模型", true},
               {"G\xE9o\xEF"
                "de",
                kAnyBytes}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    TempDir dir;
    const std::string folder = dir.Path().string() + "/" + c.folder;
    if (c.written) {
      fs::create_directories(hdm::PathFromUtf8(folder));
    }
    const WriteResults r = WriteModel(folder + "/model.HDM", TestModel{});
    EXPECT_EQ(r.header, c.written ? HDM_OK : HDM_E_ARGUMENT);
    EXPECT_EQ(r.points, c.written ? HDM_OK : HDM_E_ARGUMENT);
    if (c.written) {
      EXPECT_EQ(FilesIn(hdm::PathFromUtf8(folder)), std::vector<std::string>{"model.HDM"});
      EXPECT_EQ(ReadBack(folder + "/model.HDM").nodes, 6);
    }
  }
}

// File-size limits and a killed child need POSIX.
#if !defined(_WIN32)
// A model of 200000 nodes in one row: about 400 kB, past a file-size limit of 100 kB.
TestModel BigModel() {
  TestModel big;
  big.rows = 1;
  big.separations.assign(200000, 40.5);
  big.nullFlags.assign(200000, 0.0);
  big.lastX = big.firstX + (200000 - 1) * big.spacingX;
  big.lastY = big.firstY;
  return big;
}

// A write that fails part-way (a file-size limit, like a full disk) leaves the model that stood
// at the path byte for byte, and no staging file beside it.
TEST(HdmWriter, AFailedWriteKeepsTheEarlierModel) {
  TempDir dir;
  const std::string path = dir.File("model.HDM");
  ASSERT_EQ(WriteModel(path, TestModel{}).points, HDM_OK);
  const std::string before = Contents(path);
  WriteResults r;
  int error = 0;
  WithFileSizeLimit(100000, [&] {
    errno = 0;
    r = WriteModel(path, BigModel());
    error = errno;
  });
  EXPECT_EQ(r.points, HDM_E_IO);
  EXPECT_EQ(error, EFBIG) << std::strerror(error);
  EXPECT_EQ(Contents(path), before);
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"model.HDM"});
}

// A writer killed part-way (here by the file-size limit's signal) leaves its staging file; the
// next write of the same model removes it, but never the staging file of a writer still at work.
TEST(HdmWriter, NextWriteRemovesWhatAKilledWriterLeft) {
  TempDir dir;
  const std::string path = dir.File("model.HDM");
  ASSERT_EQ(WriteModel(path, TestModel{}).points, HDM_OK);
  const std::string before = Contents(path);
  const TestModel big = BigModel();

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rlimit limited{100000, 100000};
    setrlimit(RLIMIT_FSIZE, &limited);
    std::signal(SIGXFSZ, SIG_DFL);
    WriteModel(path, big);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
  EXPECT_EQ(Contents(path), before);
  ASSERT_EQ(FilesIn(dir.Path()).size(), 2u) << "the killed writer's staging file";

  // A live writer's staging file: locked and held open by this process. The rerun comes at once:
  // the killed writer's file goes however young it is, the live one stays.
  const std::string live = dir.File(".model.HDM.000000010123abcd.part");
  const int liveFd = ::open(live.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(liveFd, 0);
  ASSERT_EQ(::flock(liveFd, LOCK_EX | LOCK_NB), 0);
  ASSERT_EQ(WriteModel(path, TestModel{}).points, HDM_OK);
  EXPECT_EQ(FilesIn(dir.Path()),
            (std::vector<std::string>{".model.HDM.000000010123abcd.part", "model.HDM"}));
  ::close(liveFd);
}
#endif

}  // namespace
}  // namespace hextant::test
