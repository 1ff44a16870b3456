#include "utf8_path.h"

#include <string>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace hdm {

std::filesystem::path PathFromUtf8(std::string_view text) {
#if defined(_WIN32)
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) {
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
  return std::filesystem::path(wide);
#else
  return std::filesystem::path(std::string(text));
#endif
}

}  // namespace hdm
