// libFuzzer harness: the HDM reader must refuse or accept any byte string without crashing,
// reading out of bounds or allocating beyond the input's size.
#include <cstddef>
#include <cstdint>

#include "hdm_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto result = hdm::ReadHdm({data, size});
  if (result.model) {
    for (std::size_t k = 0; k < result.model->codes.size(); ++k) {
      (void)result.model->Separation(k);
    }
  }
  return 0;
}
