#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>

#include "staged_file_io.h"

// The staging file's system calls on Windows. The staging file is opened without
// FILE_SHARE_DELETE: while its writer holds it, nobody can remove it, and an abandoned one is
// simply removable.

namespace hdm::io {

namespace fs = std::filesystem;

int ProcessId() noexcept {
  return _getpid();
}

namespace {

int ErrnoOf(DWORD error) noexcept {
  switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    default:
      return EIO;
  }
}

}  // namespace

// CREATE_NEW fails when any file has the name. Without FILE_SHARE_DELETE nobody can remove the
// staging file while it is open, which is how a live writer's file is told from an abandoned one.
int OpenExclusive(const fs::path& path, int) noexcept {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errno = ErrnoOf(GetLastError());
    return -1;
  }
  const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(file);
    errno = EMFILE;
  }
  return fd;
}
int WriteSome(int fd, const char* data, std::size_t size) noexcept {
  const unsigned int piece = size > (1u << 30) ? (1u << 30) : static_cast<unsigned int>(size);
  return _write(fd, data, piece);
}
bool SyncFile(int fd) noexcept {
  if (FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(fd)))) {
    return true;
  }
  errno = ErrnoOf(GetLastError());
  return false;
}
int CloseFile(int fd) noexcept {
  return _close(fd);
}
int ReadAt(int fd, char* data, std::size_t size, std::uint64_t offset) noexcept {
  if (_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0) {
    return -1;
  }
  return _read(fd, data, static_cast<unsigned int>(size));
}
int OpenForCheck(const fs::path& path) noexcept {
  int fd = -1;
  return _wsopen_s(&fd, path.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) == 0 ? fd : -1;
}
int ExistingMode(const fs::path&) noexcept {
  return 0;
}
bool Replace(const fs::path& from, const fs::path& to) noexcept {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  errno = ErrnoOf(GetLastError());
  return false;
}
void SyncFolder(const fs::path&) noexcept {}  // MOVEFILE_WRITE_THROUGH already waited for it
// An open file cannot be deleted on Windows: it is live from its creation.
bool MarkLive(int, const fs::path&) noexcept {
  return true;
}
void RemoveIfAbandoned(const fs::path& path) noexcept {
  DeleteFileW(path.c_str());  // fails while a writer holds the file open
}

}  // namespace hdm::io
