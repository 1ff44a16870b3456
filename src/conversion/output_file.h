#pragma once

// Settling the name of the model file before anything is written, and the settings file that
// tells the office software which model to use.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"

namespace hextant {

/// The default model name: the path up to and with its last "." followed by "HDM", or the path
/// followed by ".HDM" when it has no "." at all (a "." in a folder name counts).
std::string DefaultOutputName(std::string_view sourcePath);

/// Asks about the proposed model file until a name is accepted: a new file is created empty; an
/// existing ordinary file needs a Yes to be overwritten; read-only, hidden and system files are
/// refused with a message; otherwise the save dialog proposes another name.
class OutputFileChooser {
 public:
  OutputFileChooser(MessageBoxes& messages, FileDialogs& dialogs)
      : messages_(messages), dialogs_(dialogs) {}

  /// Settles `path` (it may be replaced by the dialog's choice); false when the user cancelled
  /// the save dialog.
  bool Choose(std::string& path);

 private:
  enum class Verdict { Accepted, AskAgain };
  Verdict Try(const std::string& path);
  void ShowError(const std::string& text);

  MessageBoxes& messages_;
  FileDialogs& dialogs_;
};

/// The interpolation code of the settings file for an interpolation text: "1" for "4 Points",
/// "2" for "16 Points", "3" for "9 Points", any other text unchanged.
std::string InterpolationCode(const std::string& interpolationText);

/// The ten CR LF lines of HdmToTarvo.INI for a model at `outputPath`.
std::string SettingsFileText(std::string_view outputPath, const std::string& language,
                             const std::string& interpolationText);

/// Where HdmToTarvo.INI goes for a model at `outputPath`: the model's folder.
std::string SettingsFilePath(std::string_view outputPath);

/// Writes HdmToTarvo.INI into the folder of `outputPath`, replacing one there.
Status WriteSettingsFile(const std::string& outputPath, const std::string& language,
                         const std::string& interpolationText);

}  // namespace hextant
