#include "platform/file_system.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "staged_file.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace hextant {
namespace {

namespace fs = std::filesystem;

bool FolderExists(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(FolderOf(path), error);
}

#if defined(_WIN32)
FileAttribute AttributeOf(DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return FileAttribute::ReadOnly;
  }
  if ((attributes & FILE_ATTRIBUTE_HIDDEN) != 0) {
    return FileAttribute::Hidden;
  }
  if ((attributes & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) !=
      0) {
    return FileAttribute::System;
  }
  return FileAttribute::Archive;
}
#else
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
#endif

}  // namespace

std::string PathText(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string SystemText(const fs::path& path) {
#if defined(_WIN32)
  const std::wstring& wide = path.native();
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
#else
  return path.native();
#endif
}

std::string SystemErrorText(int error) {
  return std::generic_category().message(error);
}

fs::path FolderOf(const fs::path& path) {
  const fs::path folder = path.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

FileAttribute QueryFileAttribute(const fs::path& path) {
#if defined(_WIN32)
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    const bool notFound = error == ERROR_FILE_NOT_FOUND;
    return notFound && FolderExists(path) ? FileAttribute::Missing : FileAttribute::Unknown;
  }
  return AttributeOf(attributes);
#else
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    const bool notFound = errno == ENOENT;
    return notFound && FolderExists(path) ? FileAttribute::Missing : FileAttribute::Unknown;
  }
  const bool regular = S_ISREG(info.st_mode);
  if (regular && CannotBeWritten(path, info)) {
    return FileAttribute::ReadOnly;
  }
  if (path.filename().native().starts_with('.')) {
    return FileAttribute::Hidden;
  }
  return regular ? FileAttribute::Archive : FileAttribute::System;
#endif
}

Status CreateEmptyFile(const fs::path& path, FileIdentity* created) {
#if defined(_WIN32)
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return Status::Error(ErrorFileAccess, std::system_category().message(static_cast<int>(error)));
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (created != nullptr && GetFileInformationByHandle(file, &info)) {
    created->Device = info.dwVolumeSerialNumber;
    created->Node = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  }
  CloseHandle(file);
  return Status::Ok();
#else
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
#endif
}

void RemoveEmptyPlaceholder(const fs::path& path, const FileIdentity& created) {
#if defined(_WIN32)
  const HANDLE file = CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const bool same =
      GetFileInformationByHandle(file, &info) && info.dwVolumeSerialNumber == created.Device &&
      ((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow) ==
          created.Node &&
      info.nFileSizeHigh == 0 && info.nFileSizeLow == 0;
  if (!same) {
    FILE_DISPOSITION_INFO keep{FALSE};
    SetFileInformationByHandle(file, FileDispositionInfo, &keep, sizeof keep);
  }
  CloseHandle(file);
#else
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0 &&
      static_cast<std::uint64_t>(info.st_dev) == created.Device &&
      static_cast<std::uint64_t>(info.st_ino) == created.Node) {
    ::unlink(path.c_str());
  }
#endif
}

std::optional<std::uint64_t> FileSizeOf(const fs::path& path) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  if (error) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(size);
}

Status ReplaceFileContents(const fs::path& path, std::string_view contents) {
  hdm::StagedFile file(path);
  if (file.IsOpen() && file.Write(contents.data(), contents.size()) && file.Commit()) {
    return Status::Ok();
  }
  return Status::Error(ErrorFileAccess, "The file " + PathText(path) + " could not be written: " +
                                            SystemErrorText(file.Error()));
}

FolderLock::~FolderLock() {
#if defined(_WIN32)
  if (handle_ != -1) {
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
  }
#else
  if (handle_ >= 0) {
    ::close(static_cast<int>(handle_));  // closing releases the lock
  }
#endif
}

bool FolderLock::TryLock() {
#if defined(_WIN32)
  // A folder handle cannot carry a lock on Windows: an exclusively opened lock file that vanishes
  // when it is closed stands for it.
  const fs::path lockFile = folder_ / L".hextant-writing.lock";
  const HANDLE file =
      CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return GetLastError() != ERROR_SHARING_VIOLATION;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
#else
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
#endif
}

}  // namespace hextant
