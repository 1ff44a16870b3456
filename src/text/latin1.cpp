#include "text/latin1.h"

namespace hextant {

std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += text[i++];
      continue;
    }
    // The length of the sequence from its lead byte; continuation bytes are 10xxxxxx.
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t end = i + 1;
    while (end < text.size() && end < i + length &&
           (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
      ++end;
    }
    const bool latin1 = length == 2 && end == i + 2 && lead <= 0xC3;
    out += latin1 ? static_cast<char>(((lead & 0x03) << 6) |
                                      (static_cast<unsigned char>(text[i + 1]) & 0x3F))
                  : '?';
    i = end;
  }
  return out;
}

}  // namespace hextant
