#pragma once

// Paths given as text: the writer library's interface, the reader and the exports take them as
// UTF-8, which on Windows becomes the wide (UTF-16) path that the system's wide calls open, so
// that a name outside the system's code page arrives whole.

#include <filesystem>
#include <string_view>

namespace hdm {

/// The path that the UTF-8 text `text` names: on Windows its wide form, on POSIX the bytes as they
/// are. Empty on Windows when `text` is not valid UTF-8.
std::filesystem::path PathFromUtf8(std::string_view text);

}  // namespace hdm
