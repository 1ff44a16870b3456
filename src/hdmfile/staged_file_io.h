#pragma once

// The system calls of a staging file, one implementation per platform (staged_file_posix.cpp,
// staged_file_win.cpp). Descriptors are C runtime file descriptors; every failure sets errno.

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace hdm::io {

/// The calling process's id, for unique staging names.
int ProcessId() noexcept;
/// Creates `path` for writing, failing with EEXIST when any file has the name; `mode` (0: the
/// default) gives the permissions where the platform has them. A descriptor, or -1.
int OpenExclusive(const std::filesystem::path& path, int mode) noexcept;
/// Writes up to `size` bytes (at most 1 GiB at once); the count written, or -1.
int WriteSome(int fd, const char* data, std::size_t size) noexcept;
/// Waits until the file's data has reached the disk; false on failure.
bool SyncFile(int fd) noexcept;
/// Closes `fd`; 0 on success.
int CloseFile(int fd) noexcept;
/// Reads up to `size` bytes at `offset`; the count read (0 at the end), or -1.
int ReadAt(int fd, char* data, std::size_t size, std::uint64_t offset) noexcept;
/// Opens `path` to read it back; a descriptor, or -1.
int OpenForCheck(const std::filesystem::path& path) noexcept;
/// The permission bits of the regular file at `target` that a replacement keeps (0: none).
int ExistingMode(const std::filesystem::path& target) noexcept;
/// Renames `from` over `to` in one step; false on failure.
bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) noexcept;
/// Makes a rename in `folder` durable where that needs a step of its own.
void SyncFolder(const std::filesystem::path& folder) noexcept;
/// Marks the open staging file `fd`, created at `path`, as belonging to a live writer; false when
/// `path` no longer names it (another process removed it before the mark).
bool MarkLive(int fd, const std::filesystem::path& path) noexcept;
/// Removes the staging file at `path` when it belongs to no live writer.
void RemoveIfAbandoned(const std::filesystem::path& path) noexcept;

}  // namespace hdm::io
