#pragma once

// Small file helpers for the writer: every file is owned by an object that closes it, and a
// write counts as done only after the data reached the disk.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace hdm {

/// An output file opened for writing; closed (without sync) when destroyed uncommitted.
class OutputFile {
 public:
  enum class Mode { kTruncate, kAppend };

  OutputFile(const std::string& path, Mode mode);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool IsOpen() const noexcept { return file_ != nullptr; }
  /// Writes `size` bytes; false on any error (a full disk included).
  bool Write(const std::uint8_t* data, std::size_t size) noexcept;
  /// Flushes, syncs to disk and closes the file; false when any of these failed.
  bool Commit() noexcept;

 private:
  std::FILE* file_ = nullptr;
};

/// Reads a whole file of at most `maxSize` bytes; nullopt when it is missing, unreadable or
/// larger than that.
std::optional<std::vector<std::uint8_t>> ReadSmallFile(const std::string& path,
                                                       std::size_t maxSize);

/// Replaces the file at `path` with `bytes`, synced to disk.
bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

/// Renames `from` to `to`, replacing `to` when it exists.
bool RenameReplacing(const std::string& from, const std::string& to);

/// Removes the file at `path` if there is one and it is not a folder; errors are ignored.
void RemoveIfPresent(const char* path) noexcept;

}  // namespace hdm
