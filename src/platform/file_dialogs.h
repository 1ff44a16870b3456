#pragma once

#include <optional>
#include <string>

namespace hextant {

/// What a file dialog shows: a filter such as "All files|*.*" (pairs of caption and pattern
/// separated by "|"), the default extension without its dot, and the file name it starts with.
struct FileDialogRequest {
  std::string Filter;
  std::string DefaultExtension;
  std::string FileName;
};

/// The open-file and save-file dialogs. Each returns the chosen full path, or nullopt when the
/// user cancels.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) = 0;
};

}  // namespace hextant
