#include "readers/netherlands_reader.h"

#include "base/angles.h"
#include "readers/reader_support.h"
#include "readers/row_grid_reader.h"

namespace hextant {
namespace {
constexpr const char* kProcedure = "ConvertFileNetherlands";
}

bool ConvertFileNetherlands(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                            ReaderOutput& output, Status* failure) {
  return ReadRowGrid(
      source, sizeInBytes,
      RowGridLayout{kProcedure, 52, PackedDmsToRadians(3.123), PackedDmsToRadians(53.403)}, env,
      output, failure);
}

bool ConvertFileNetherlands(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                            ReaderOutput& output, Status* failure) {
  return ReadSourceFile(sourceFile, kProcedure, ConvertFileNetherlands, env, output, failure);
}

}  // namespace hextant
