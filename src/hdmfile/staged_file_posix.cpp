#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "staged_file_io.h"

// The staging file's system calls on POSIX.

namespace hdm::io {

namespace fs = std::filesystem;

int ProcessId() noexcept {
  return static_cast<int>(::getpid());
}

int OpenExclusive(const fs::path& path, int mode) noexcept {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd >= 0 && mode != 0) {
    ::fchmod(fd, static_cast<mode_t>(mode));  // keep the permissions of the file it replaces
  }
  return fd;
}
int WriteSome(int fd, const char* data, std::size_t size) noexcept {
  return static_cast<int>(::write(fd, data, size > (1u << 30) ? (1u << 30) : size));
}
bool SyncFile(int fd) noexcept {
  return ::fsync(fd) == 0;
}
int CloseFile(int fd) noexcept {
  return ::close(fd);
}
int ReadAt(int fd, char* data, std::size_t size, std::uint64_t offset) noexcept {
  return static_cast<int>(::pread(fd, data, size, static_cast<off_t>(offset)));
}
int OpenForCheck(const fs::path& path) noexcept {
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}
int ExistingMode(const fs::path& target) noexcept {
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return 0;
  }
  return static_cast<int>(info.st_mode & 07777);
}
bool Replace(const fs::path& from, const fs::path& to) noexcept {
  return ::rename(from.c_str(), to.c_str()) == 0;
}
// The rename is durable only once the folder's entry reached the disk. The model is in place
// whatever this returns, so a folder that cannot be synced (some file systems refuse) is let be.
void SyncFolder(const fs::path& folder) noexcept {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}
// A live writer holds a lock on its staging file until it closes it; a killed one does not. A file
// is taken for abandoned only while it is unlocked, so a writer that finds its file still under
// its name once the lock is held keeps it for good.
bool MarkLive(int fd, const fs::path& path) noexcept {
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    return false;
  }
  struct stat opened {
  }, named{};
  return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}
// The name goes while the lock is held, so that a writer marking the file meanwhile finds it gone.
void RemoveIfAbandoned(const fs::path& path) noexcept {
  const int fd = OpenForCheck(path);
  if (fd < 0) {
    return;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    ::unlink(path.c_str());
  }
  ::close(fd);
}

}  // namespace hdm::io
