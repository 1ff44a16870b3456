#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace hextant {

/// What a file dialog shows: a filter such as "All files|*.*" (pairs of caption and pattern
/// separated by "|"), the default extension without its dot, and the file it starts with.
struct FileDialogRequest {
  std::string Filter;
  std::string DefaultExtension;
  std::filesystem::path FileName;
};

/// The open-file and save-file dialogs. Each returns the chosen full path, or nullopt when the
/// user cancels.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::optional<std::filesystem::path> ChooseOpenFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::filesystem::path> ChooseSaveFile(const FileDialogRequest& request) = 0;
};

}  // namespace hextant
