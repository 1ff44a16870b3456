#pragma once

// Replacing a file so that nothing is ever lost: the new content goes into a staging file that is
// created exclusively, under a name of its own, in the target's folder; only a complete staging
// file that reached the disk and reads back as written is renamed over the target. An earlier file
// at the target stays untouched by every failure, and a failed or abandoned staging file is
// removed.

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace hdm {

class StagedFile {
 public:
  /// Creates the staging file for `target` (a new, uniquely named file in its folder). Check
  /// IsOpen(); when it is false, Error() tells why.
  explicit StagedFile(const std::filesystem::path& target) noexcept;
  /// Removes the staging file unless it was committed.
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  bool IsOpen() const noexcept { return fd_ >= 0; }
  /// Appends `size` bytes; false (and Error() set) on any failure, a full disk included.
  bool Write(const void* data, std::size_t size) noexcept;
  /// Syncs the staging file, reads it back to check that it holds exactly what was written,
  /// renames it over the target and syncs the folder. False, with the target untouched, when any
  /// step failed.
  bool Commit() noexcept;

  /// The CRC-32 of the bytes written so far.
  std::uint32_t Crc() const noexcept { return crc_; }
  /// The system's error number of the first failure (errno; 0 when nothing failed).
  int Error() const noexcept { return error_; }
  const std::filesystem::path& StagingPath() const noexcept { return staging_; }

 private:
  bool Fail(int error) noexcept;
  bool Verify() noexcept;
  void Discard() noexcept;

  std::filesystem::path target_;
  std::filesystem::path staging_;
  int fd_ = -1;
  int error_ = 0;
  std::uint64_t written_ = 0;
  std::uint32_t crc_ = 0;
  bool committed_ = false;
};

/// Removes the staging files of `target` that no live writer holds any more (left behind by a
/// process that was killed while it wrote). Errors are ignored.
void RemoveAbandonedStagingFiles(const std::filesystem::path& target) noexcept;

/// Removes the staging files of `target` that this process created, for a process that is being
/// interrupted. Errors are ignored.
void RemoveOwnStagingFiles(const std::filesystem::path& target) noexcept;

/// Renames the complete staging file `staging` over `target` and makes the rename durable; false,
/// with errno set and `target` untouched, when the rename failed.
bool CommitStagingFile(const std::filesystem::path& staging,
                       const std::filesystem::path& target) noexcept;

/// A new staging name for `target`, beside it, that RemoveAbandonedStagingFiles and
/// RemoveOwnStagingFiles recognise; the file is not created.
std::filesystem::path StagingPathFor(const std::filesystem::path& target);

}  // namespace hdm
