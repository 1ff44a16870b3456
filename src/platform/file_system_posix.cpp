#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_system.h"

// The file-system services on POSIX: paths are bytes, the attributes follow the rules in
// file_system.h, the folder lock is flock on the folder itself.

namespace hextant {
namespace {

namespace fs = std::filesystem;

bool CannotBeWritten(const fs::path& path, const struct stat& info) {
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    return true;  // read-only even for a user whose rights would override it
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return true;
  }
  ::close(fd);
  return false;
}

}  // namespace

std::string SystemText(const fs::path& path) {
  return path.native();
}

fs::path PathFromText(std::string_view text) {
  return fs::path(std::string(text));
}

FileAttribute QueryFileAttribute(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    const bool notFound = errno == ENOENT;
    return notFound && FolderOfExists(path) ? FileAttribute::Missing : FileAttribute::Unknown;
  }
  const bool regular = S_ISREG(info.st_mode);
  if (regular && CannotBeWritten(path, info)) {
    return FileAttribute::ReadOnly;
  }
  if (path.filename().native().starts_with('.')) {
    return FileAttribute::Hidden;
  }
  return regular ? FileAttribute::Archive : FileAttribute::System;
}

Status CreateEmptyFile(const fs::path& path, FileIdentity* created) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) {
    return Status::Error(ErrorFileAccess, SystemErrorText(errno));
  }
  struct stat info {};
  if (created != nullptr && ::fstat(fd, &info) == 0) {
    created->Device = static_cast<std::uint64_t>(info.st_dev);
    created->Node = static_cast<std::uint64_t>(info.st_ino);
  }
  if (::close(fd) != 0) {
    return Status::Error(ErrorFileAccess, SystemErrorText(errno));
  }
  return Status::Ok();
}

void RemoveEmptyPlaceholder(const fs::path& path, const FileIdentity& created) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0 &&
      static_cast<std::uint64_t>(info.st_dev) == created.Device &&
      static_cast<std::uint64_t>(info.st_ino) == created.Node) {
    ::unlink(path.c_str());
  }
}

FolderLock::~FolderLock() {
  if (handle_ >= 0) {
    ::close(static_cast<int>(handle_));  // closing releases the lock
  }
}

bool FolderLock::TryLock() {
  if (handle_ >= 0) {
    return true;
  }
  const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return true;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return !held;
  }
  handle_ = fd;
  return true;
}

}  // namespace hextant
