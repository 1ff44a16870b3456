// libFuzzer harness: every source reader must accept or refuse any bytes without crashing,
// reading out of bounds or allocating without bound. The first byte picks the source format of
// the format table (the grid layouts among them) and the
// spacings; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <sstream>
#include <string>

#include "grids/grid_file.h"
#include "readers/source_formats.h"

namespace {

class Quiet : public hextant::MessageBoxes,
              public hextant::ProgressDisplay,
              public hextant::EventLoop {
 public:
  hextant::MessageAnswer Show(const hextant::Message&) override {
    return hextant::MessageAnswer::Ok;
  }
  void ShowProgressBar() override {}
  void SetProgress(int) override {}
  void SetProgressCaption(const std::string&) override {}
  void SetStatus(const std::string&) override {}
  void Yield() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  hextant::ConversionSettings settings;
  const double spacings[] = {0.001, 1000.0, 1e-7, 0.0};
  settings.SpacingX = settings.SpacingY = spacings[(data[0] >> 4) % 4];
  settings.CodeFilter = "99.999";
  // The generic reader: blank-separated X Y N code, in one of the four angular units.
  settings.Delimiter = " ";
  settings.MergeDelimiters = true;
  settings.CoordinateType = hextant::Geographical;
  settings.AngularUnit = static_cast<std::int16_t>((data[0] >> 6) % 4);
  settings.ColumnRoles = {-1, 1, 2, 3, 4, 1, 2, 3, 4, 5, 6};
  settings.CodeFilterOn = true;
  // The grid reader: the layout told by the content, or forced to one of them.
  constexpr int kLayouts = static_cast<int>(std::size(hextant::GridLayoutNames));
  settings.GridLayoutForced = static_cast<std::int16_t>((data[0] >> 3) % (kLayouts + 1) - 1);
  Quiet quiet;
  hextant::ReadProgress progress(quiet, quiet);
  hextant::ReaderEnvironment env{settings, progress, quiet};
  hextant::ReaderOutput output;
  std::istringstream in(bytes);
  const auto formats = hextant::SourceFormats();
  formats[data[0] % formats.size()].ReadStream(in, bytes.size(), env, output, nullptr);
  return 0;
}
