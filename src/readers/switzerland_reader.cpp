#include "readers/switzerland_reader.h"

#include "readers/reader_support.h"
#include "readers/row_grid_reader.h"

namespace hextant {
namespace {
constexpr const char* kProcedure = "ConvertFileSwitzerland";
}

bool ConvertFileSwitzerland(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                            ReaderOutput& output, Status* failure) {
  return ReadRowGrid(source, sizeInBytes, RowGridLayout{kProcedure, 361, 480000.0, 302000.0}, env,
                     output, failure);
}

bool ConvertFileSwitzerland(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                            ReaderOutput& output, Status* failure) {
  return ReadSourceFile(sourceFile, kProcedure, ConvertFileSwitzerland, env, output, failure);
}

}  // namespace hextant
