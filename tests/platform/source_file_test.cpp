#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/source_file.h"
#include "temp_dir.h"

namespace hextant {
namespace {

// Reads of every size against the file's own bytes: small reads through the buffer, large ones
// straight into the caller's memory, with the position right after each and after going back.
TEST(SourceFile, ReadsOfEverySizeGiveTheFileAndKeepThePosition) {
  test::TempDir dir;
  std::string bytes(300000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>('a' + (i * 7919) % 26);
  }
  const auto path = dir.File("source.xyz");
  std::ofstream(path, std::ios::binary) << bytes;

  SourceFile file;
  ASSERT_TRUE(file.Open(path).IsOk());
  std::istream& in = file.Stream();
  std::string got;
  std::size_t at = 0;
  for (const std::size_t size : {std::size_t{10}, std::size_t{1} << 16, std::size_t{100},
                                 std::size_t{150000}, std::size_t{3}, std::size_t{200000}}) {
    SCOPED_TRACE(size);
    std::string part(size, '\0');
    in.read(part.data(), static_cast<std::streamsize>(size));
    const auto read = static_cast<std::size_t>(in.gcount());
    EXPECT_EQ(read, std::min(size, bytes.size() - at));
    EXPECT_EQ(part.substr(0, read), bytes.substr(at, read));
    at += read;
    if (in) {
      EXPECT_EQ(static_cast<std::size_t>(in.tellg()), at);
    }
  }
  EXPECT_EQ(at, bytes.size());
  in.clear();
  in.seekg(65541);
  std::string again(70000, '\0');
  in.read(again.data(), static_cast<std::streamsize>(again.size()));
  EXPECT_EQ(again, bytes.substr(65541, 70000));
  EXPECT_EQ(static_cast<std::size_t>(in.tellg()), 65541 + 70000);
}

}  // namespace
}  // namespace hextant
