#include <gtest/gtest.h>

#include "hdmfile/crc32.h"
#include "hdmfile/hdm_layout.h"
#include "hdmfile/hdm_reader.h"
#include "hdmfile/model_writer.h"
#include "temp_dir.h"

namespace hextant::test {
namespace {

class HdmReader : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("model.HDM");
    ASSERT_EQ(WriteModel(path_, TestModel{}).points, HDM_OK);
    bytes_ = ReadBytes(path_);
    ASSERT_EQ(bytes_.size(), hdm::CompleteFileSize(8, 6));
  }

  static std::string ErrorOf(const std::vector<std::uint8_t>& bytes) {
    const auto result = hdm::ReadHdm(bytes);
    EXPECT_FALSE(result.model.has_value());
    return result.error;
  }

  TempDir dir_;
  std::string path_;
  std::vector<std::uint8_t> bytes_;
};

TEST(Crc32, MatchesTheStandardCheckValueInOneOrManyPieces) {
  const std::string text = "123456789";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  EXPECT_EQ(hdm::Crc32(bytes, text.size()), 0xCBF43926u);
  EXPECT_EQ(hdm::Crc32(bytes + 4, 5, hdm::Crc32(bytes, 4)), 0xCBF43926u);
}

TEST_F(HdmReader, NamesWhatIsWrong) {
  auto withExtraByte = bytes_;
  withExtraByte.push_back(0);
  auto futureVersion = bytes_;
  futureVersion[8] = 2;
  // A node count of 2^31 - 1 in a small file: refused from the length alone, before any
  // allocation.
  auto hugeCount = bytes_;
  for (std::size_t i = 0; i < 4; ++i) {
    hugeCount[hdm::kBodyOffset + 4 + i] = i == 3 ? 0x7F : 0xFF;
  }
  const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
      {withExtraByte, "has 1 bytes after its end"},
      {futureVersion, "has HDM version 2"},
      {hugeCount, "is truncated"},
  };
  for (const auto& [bytes, expected] : cases) {
    EXPECT_NE(ErrorOf(bytes).find(expected), std::string::npos) << expected;
  }
}

TEST_F(HdmReader, ErrorsFromAFileNameTheFile) {
  const std::string missing = dir_.File("missing.HDM");
  const auto result = hdm::ReadHdmFile(missing);
  EXPECT_FALSE(result.model.has_value());
  EXPECT_EQ(result.error.rfind(missing + ": ", 0), 0u) << result.error;

  const auto folder = hdm::ReadHdmFile(dir_.Path().string());
  EXPECT_NE(folder.error.find("is not a regular file"), std::string::npos) << folder.error;

  bytes_.pop_back();
  WriteBytes(path_, bytes_);
  const auto truncated = hdm::ReadHdmFile(path_);
  EXPECT_EQ(truncated.error.rfind(path_ + ": is truncated", 0), 0u) << truncated.error;
}

// Every truncation and every single corrupted byte is refused, by random access with exactly the
// words of the whole-file reader.
TEST_F(HdmReader, RejectsEveryTruncationAndCorruptedByteInBothReaders) {
  std::vector<std::vector<std::uint8_t>> broken;
  for (std::size_t size = 0; size < bytes_.size(); ++size) {
    broken.emplace_back(bytes_.begin(), bytes_.begin() + static_cast<long>(size));
    EXPECT_NE(ErrorOf(broken.back()).find("truncated"), std::string::npos) << size;
  }
  for (std::size_t at = 0; at < bytes_.size(); ++at) {
    broken.push_back(bytes_);
    broken.back()[at] ^= 0x10;
  }
  broken.push_back(bytes_);
  broken.back().push_back(0);
  for (const auto& bytes : broken) {
    EXPECT_FALSE(ErrorOf(bytes).empty());
    WriteBytes(path_, bytes);
    std::string error;
    EXPECT_EQ(hdm::HdmFileReader::Open(path_, error), nullptr);
    EXPECT_EQ(error, hdm::ReadHdmFile(path_).error);
  }
}

TEST_F(HdmReader, RandomAccessReadsSingleNodesAndBlocksOfRows) {
  const auto whole = hdm::ReadHdmFile(path_);
  ASSERT_TRUE(whole.model);
  std::string error;
  const auto reader = hdm::HdmFileReader::Open(path_, error);
  ASSERT_NE(reader, nullptr) << error;
  const hdm::HdmModel& header = reader->Header();
  EXPECT_TRUE(header.codes.empty());
  EXPECT_EQ(header.nodes, 6);
  EXPECT_EQ(header.Columns(), 3);
  std::int16_t code = 0;
  ASSERT_TRUE(reader->ReadNode(1, 0, code));
  EXPECT_EQ(code, whole.model->codes[3]);
  std::vector<std::int16_t> rows;
  ASSERT_TRUE(reader->ReadRows(1, 1, rows));
  EXPECT_EQ(rows,
            std::vector<std::int16_t>(whole.model->codes.begin() + 3, whole.model->codes.end()));
  ASSERT_TRUE(reader->ReadRows(0, 2, rows));
  EXPECT_EQ(rows, whole.model->codes);

  hdm::HdmMemoryNodes memory(*whole.model);
  for (hdm::HdmNodes* nodes :
       {static_cast<hdm::HdmNodes*>(reader.get()), static_cast<hdm::HdmNodes*>(&memory)}) {
    EXPECT_FALSE(nodes->ReadRows(1, 2, rows));
    EXPECT_FALSE(nodes->ReadNode(2, 0, code));
    EXPECT_FALSE(nodes->ReadCodes(-1, 1, &code));
    EXPECT_NE(nodes->Error().find("outside the model"), std::string::npos);
  }
}

}  // namespace
}  // namespace hextant::test
