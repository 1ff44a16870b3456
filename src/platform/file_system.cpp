#include "platform/file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace hextant {
namespace {

#if defined(_WIN32)
constexpr std::string_view kSeparators = "\\/";
#else
constexpr std::string_view kSeparators = "/";
#endif

bool FolderExists(const std::string& path) {
  std::string folder(FolderPart(path));
  if (folder.empty() && !path.empty() && kSeparators.find(path.front()) != std::string::npos) {
    folder = path.substr(0, 1);  // the root
  }
  std::error_code error;
  return std::filesystem::is_directory(folder.empty() ? "." : folder, error);
}

#if !defined(_WIN32)
bool CannotBeWritten(const std::string& path, const struct stat& info) {
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    return true;  // read-only even for a user whose rights would override it
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    return true;
  }
  ::close(fd);
  return false;
}
#endif

}  // namespace

FileAttribute QueryFileAttribute(const std::string& path) {
#if defined(_WIN32)
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    return FolderExists(path) ? FileAttribute::Missing : FileAttribute::Unknown;
  }
  if (error) {
    return FileAttribute::Unknown;
  }
  if ((status.permissions() & std::filesystem::perms::owner_write) ==
      std::filesystem::perms::none) {
    return FileAttribute::ReadOnly;
  }
  return std::filesystem::is_regular_file(status) ? FileAttribute::Archive : FileAttribute::System;
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
  if (FileNamePart(path).starts_with('.')) {
    return FileAttribute::Hidden;
  }
  return regular ? FileAttribute::Archive : FileAttribute::System;
#endif
}

Status CreateEmptyFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    return Status::Error(ErrorFileAccess, std::strerror(errno));
  }
  if (std::fclose(file) != 0) {
    return Status::Error(ErrorFileAccess, std::strerror(errno));
  }
  return Status::Ok();
}

std::optional<std::uint64_t> FileSizeOf(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(size);
}

std::string_view FileNamePart(std::string_view path) noexcept {
  const std::size_t last = path.find_last_of(kSeparators);
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

std::string_view FolderPart(std::string_view path) noexcept {
  const std::size_t last = path.find_last_of(kSeparators);
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last);
}

}  // namespace hextant
