// libFuzzer harness: the HDM reader must refuse or accept any byte string without crashing,
// reading out of bounds or allocating beyond the input's size. For inputs of even length the
// trailer is recomputed after the fuzzer's mutation, so that they get past the checksum into the
// section checks; odd lengths keep their trailer and exercise the checksum's refusal.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "hdmfile/crc32.h"
#include "hdmfile/hdm_layout.h"
#include "hdmfile/hdm_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  if (bytes.size() >= hdm::kTrailerSize && bytes.size() % 2 == 0) {
    const std::size_t body = bytes.size() - hdm::kTrailerSize;
    const std::uint32_t crc = hdm::Crc32(bytes.data(), body);
    for (std::size_t i = 0; i < hdm::kTrailerSize; ++i) {
      bytes[body + i] = static_cast<std::uint8_t>(crc >> (8 * i));
    }
  }
  const auto result = hdm::ReadHdm({bytes.data(), bytes.size()});
  if (result.model) {
    for (std::size_t k = 0; k < result.model->codes.size(); ++k) {
      (void)result.model->Separation(k);
    }
  }
  return 0;
}
