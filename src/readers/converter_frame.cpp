#include "readers/converter_frame.h"

#include <cmath>

namespace hextant {

std::optional<std::int16_t> ComputeOffsetAndResolution(double& offset, double smallest,
                                                       double largest) noexcept {
  const double sum = smallest + largest;
  if (sum == 0.0) {
    return std::nullopt;
  }
  offset = std::floor(sum / 2 * 1000) / 1000;
  return largest - offset > 32.0 ? ResolutionCentimetres : ResolutionMillimetres;
}

Status FinishRange(double smallest, double largest, ReaderOutput& output) {
  const auto code = ComputeOffsetAndResolution(output.SeparationOffset, smallest, largest);
  if (!code) {
    return Status::Error(ReaderFormatError,
                         "the separations give no range (none read, or exact opposites)");
  }
  output.ResolutionCode = *code;
  return Status::Ok();
}

}  // namespace hextant
