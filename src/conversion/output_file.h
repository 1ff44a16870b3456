#pragma once

// Settling the name of the model file before anything is written, and the settings file that
// tells the office software which model to use.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/status.h"
#include "platform/file_dialogs.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"

namespace hextant {

/// The default model name: the path up to and with its last "." followed by "HDM", or the path
/// followed by ".HDM" when it has no "." at all (a "." in a folder name counts).
std::filesystem::path DefaultOutputName(const std::filesystem::path& sourcePath);

/// Asks about the proposed model file until a name is accepted: a new file is created empty; an
/// existing ordinary file needs a Yes to be overwritten; read-only, hidden and system files are
/// refused with a message; otherwise the save dialog proposes another name.
class OutputFileChooser {
 public:
  /// `source` is the file the run reads, which no model may replace.
  OutputFileChooser(MessageBoxes& messages, FileDialogs& dialogs, std::filesystem::path source = {})
      : messages_(messages), dialogs_(dialogs), source_(std::move(source)) {}

  /// Settles `path` (it may be replaced by the dialog's choice); false when the user cancelled
  /// the save dialog.
  bool Choose(std::filesystem::path& path);

  /// The empty file the choice created for a new name, so that a failed run can take back what
  /// it made; nullopt when the accepted file existed before.
  const std::optional<FileIdentity>& Placeholder() const noexcept { return placeholder_; }
  /// Why the last name tried was not accepted, in words ("" when it was).
  const std::string& LastRefusal() const noexcept { return lastRefusal_; }

 private:
  enum class Verdict { Accepted, AskAgain };
  /// Judges `path`; a file that appears between the look and its creation is looked at again,
  /// up to `looksLeft` times.
  Verdict Try(const std::filesystem::path& path, int looksLeft = 2);
  /// Why `path` may not hold a model whatever its attributes ("" when it may).
  std::string Forbidden(const std::filesystem::path& path) const;
  void ShowError(const std::string& text, const std::string& detail = {});

  MessageBoxes& messages_;
  FileDialogs& dialogs_;
  std::filesystem::path source_;
  std::optional<FileIdentity> placeholder_;
  std::string lastRefusal_;
};

/// The interpolation code of the settings file for an interpolation text: "1" for "4 Points",
/// "2" for "16 Points", "3" for "9 Points", any other text unchanged.
std::string InterpolationCode(const std::string& interpolationText);

/// The ten CR LF lines of HdmToTarvo.INI for a model at `outputPath`, as 8-bit text in the
/// system's code page.
std::string SettingsFileText(const std::filesystem::path& outputPath, const std::string& language,
                             const std::string& interpolationText);

/// Where HdmToTarvo.INI goes for a model at `outputPath`: the model's folder.
std::filesystem::path SettingsFilePath(const std::filesystem::path& outputPath);

/// Writes HdmToTarvo.INI into the folder of `outputPath`, replacing one there only with a
/// complete file.
Status WriteSettingsFile(const std::filesystem::path& outputPath, const std::string& language,
                         const std::string& interpolationText);

}  // namespace hextant
