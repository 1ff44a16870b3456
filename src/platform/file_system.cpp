#include "platform/file_system.h"

#include <system_error>

#include "hdmfile/staged_file.h"

// The services that are the same on every platform; the others are in file_system_posix.cpp and
// file_system_win.cpp.

namespace hextant {

namespace fs = std::filesystem;

std::string PathText(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string SystemErrorText(int error) {
  return std::generic_category().message(error);
}

fs::path FolderOf(const fs::path& path) {
  const fs::path folder = path.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

bool FolderOfExists(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(FolderOf(path), error);
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

}  // namespace hextant
