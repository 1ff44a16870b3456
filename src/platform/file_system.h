#pragma once

// The file-system services of the logic, mapped to the platform. Paths travel as the platform's
// own path type (bytes on POSIX, wide characters on Windows); they become text only for the user,
// as UTF-8. On POSIX the attributes are those the office software's platform knows: read-only = a
// regular file that cannot be opened for writing or has no write permission at all; hidden = the
// name starts with "."; system = not a regular file (a folder, device, socket…); archive = every
// other existing regular file. On Windows they are the file's own attributes.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"

namespace hextant {

/// `path` as UTF-8 text (the native bytes on POSIX), for messages, for showing it and for the
/// writer library and the model reader.
std::string PathText(const std::filesystem::path& path);

/// `path` as 8-bit text in the system's code page (the native bytes on POSIX), for files that the
/// office software reads.
std::string SystemText(const std::filesystem::path& path);

/// The path that the UTF-8 text `text` names (the bytes as they are on POSIX); the inverse of
/// PathText, for paths typed on a command line.
std::filesystem::path PathFromText(std::string_view text);

/// The system's description of the error number `error` (errno).
std::string SystemErrorText(int error);

/// The first attribute that holds, in the order the output file choice tests them; `Missing`
/// when the folder exists and the file does not, `Unknown` when the query failed otherwise (a
/// missing folder included), `Unmarked` for an existing file with none of the four (on Windows,
/// a file whose archive attribute was cleared).
enum class FileAttribute { Missing, ReadOnly, Hidden, System, Archive, Unmarked, Unknown };

FileAttribute QueryFileAttribute(const std::filesystem::path& path);

/// Which file a path named at one moment, so that a later look can tell whether it is still the
/// same file.
struct FileIdentity {
  std::uint64_t Device = 0;
  std::uint64_t Node = 0;
  bool operator==(const FileIdentity&) const = default;
};

/// Creates an empty file at `path`, failing when one already exists; `created` receives its
/// identity. The error's description is the system's.
Status CreateEmptyFile(const std::filesystem::path& path, FileIdentity* created = nullptr);

/// Removes the file at `path` only when it is still the empty file `created` names: the
/// placeholder this run made, never a file that another program has put there since.
void RemoveEmptyPlaceholder(const std::filesystem::path& path, const FileIdentity& created);

/// The size of the file at `path` in bytes; nullopt when it cannot be read.
std::optional<std::uint64_t> FileSizeOf(const std::filesystem::path& path);

/// Replaces the file at `path` with `contents` so that it is never seen empty or half-written: a
/// staging file beside it is written, synced, checked and renamed over it. An earlier file stays
/// as it was when this fails; the error names the file and gives the system's reason.
Status ReplaceFileContents(const std::filesystem::path& path, std::string_view contents);

/// The folder that holds `path` ("." for a bare name).
std::filesystem::path FolderOf(const std::filesystem::path& path);

/// True when the folder that holds `path` exists, so a missing `path` may still be created there.
bool FolderOfExists(const std::filesystem::path& path);

/// An exclusive advisory lock on a folder, held from a successful TryLock until destruction, so
/// that conversions writing into one folder run one after the other.
class FolderLock {
 public:
  explicit FolderLock(std::filesystem::path folder) : folder_(std::move(folder)) {}
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  /// Takes the lock without waiting; false while another process holds it. A folder that cannot
  /// be locked at all (it cannot be opened) counts as taken, so the caller goes on and meets the
  /// real error when it writes.
  bool TryLock();

 private:
  std::filesystem::path folder_;
  std::intptr_t handle_ = -1;
};

}  // namespace hextant
