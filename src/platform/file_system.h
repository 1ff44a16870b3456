#pragma once

// The file-system services of the logic, mapped to the platform. On POSIX the attributes are
// those the office software's platform knows: read-only = a regular file that cannot be opened for
// writing or has no write permission at all; hidden = the name starts with "."; system = not a
// regular file (a folder, device, socket…); archive = every other existing regular file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"

namespace hextant {

/// The first attribute that holds, in the order the output file choice tests them; `Missing`
/// when the folder exists and the file does not, `Unknown` when the query failed otherwise (a
/// missing folder included).
enum class FileAttribute { Missing, ReadOnly, Hidden, System, Archive, Unknown };

FileAttribute QueryFileAttribute(const std::string& path);

/// Creates an empty file at `path` (replacing one there); the error's description is the
/// system's.
Status CreateEmptyFile(const std::string& path);

/// The size of the file at `path` in bytes; nullopt when it cannot be read.
std::optional<std::uint64_t> FileSizeOf(const std::string& path);

/// What follows the last path separator of the platform ("/" here; "\" and "/" on Windows);
/// the whole path when it has none.
std::string_view FileNamePart(std::string_view path) noexcept;

/// The folder part: everything before the last separator; empty when there is none.
std::string_view FolderPart(std::string_view path) noexcept;

}  // namespace hextant
