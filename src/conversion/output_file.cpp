#include "conversion/output_file.h"

#include "text/text_parsing.h"

namespace hextant {
namespace {

constexpr const char* kSettingsFileName = "HdmToTarvo.INI";

std::string ExistingFileQuestion(const std::filesystem::path& path, FileAttribute attribute) {
  const std::string start = "The file " + PathText(path) + " already exists";
  switch (attribute) {
    case FileAttribute::ReadOnly:
      return start + " and is read only.";
    case FileAttribute::Hidden:
      return start + " and is hidden.";
    case FileAttribute::System:
      return start + " and is a system file.";
    default:
      return start + ", overwrite?";
  }
}

}  // namespace

std::filesystem::path DefaultOutputName(const std::filesystem::path& sourcePath) {
  using Native = std::filesystem::path::string_type;
  const Native& text = sourcePath.native();
  const std::size_t dot = text.rfind(static_cast<std::filesystem::path::value_type>('.'));
  if (dot == Native::npos) {
    return std::filesystem::path(text + std::filesystem::path(".HDM").native());
  }
  return std::filesystem::path(text.substr(0, dot + 1) + std::filesystem::path("HDM").native());
}

void OutputFileChooser::ShowError(const std::string& text, const std::string& detail) {
  messages_.Show(Message{"Error", text, MessageIcon::Critical, MessageButtons::Ok, detail});
}

namespace {

// What a name that is no regular file names, for the detail of the box that refuses it.
std::string WhatItIs(const std::filesystem::path& path) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(path, error);
  if (error) {
    return {};
  }
  if (std::filesystem::is_symlink(status)) {
    return std::filesystem::exists(path, error)
               ? "It is a link to " + PathText(std::filesystem::read_symlink(path, error)) + "."
               : "It is a link to " + PathText(std::filesystem::read_symlink(path, error)) +
                     ", which does not exist.";
  }
  if (std::filesystem::is_directory(status)) {
    return "It is a folder.";
  }
  return std::filesystem::is_regular_file(status)
             ? ""
             : "It is no regular file (a device, a pipe or a socket).";
}

}  // namespace

std::string OutputFileChooser::Forbidden(const std::filesystem::path& path) const {
  if (UpperCase(PathText(path.filename())) == "HDMTOTARVO.INI") {
    return std::string("it is the name of the settings file ") + kSettingsFileName +
           ", which is written beside the model";
  }
  std::error_code error;
  if (!source_.empty() && std::filesystem::equivalent(path, source_, error) && !error) {
    return "it is the source file being converted";
  }
  return {};
}

OutputFileChooser::Verdict OutputFileChooser::Try(const std::filesystem::path& path,
                                                  int looksLeft) {
  placeholder_.reset();
  lastRefusal_.clear();
  if (std::string why = Forbidden(path); !why.empty()) {
    ShowError("The file " + PathText(path) + " can not hold the model: " + why + ".");
    lastRefusal_ = std::move(why);
    return Verdict::AskAgain;
  }
  const FileAttribute attribute = QueryFileAttribute(path);
  switch (attribute) {
    case FileAttribute::Missing: {
      FileIdentity created;
      const Status made = CreateEmptyFile(path, &created);
      if (made) {
        placeholder_ = created;
        return Verdict::Accepted;
      }
      if (looksLeft > 0 && QueryFileAttribute(path) != FileAttribute::Missing) {
        return Try(path, looksLeft - 1);  // another run created it meanwhile: it exists now
      }
      ShowError("The file " + PathText(path) + " can not been created. " + made.Description(),
                WhatItIs(path));
      lastRefusal_ = "it could not be created: " + made.Description();
      return Verdict::AskAgain;
    }
    case FileAttribute::ReadOnly:
    case FileAttribute::Hidden:
    case FileAttribute::System:
      ShowError(ExistingFileQuestion(path, attribute),
                attribute == FileAttribute::System ? WhatItIs(path) : std::string());
      lastRefusal_ = attribute == FileAttribute::ReadOnly ? "it is read only"
                     : attribute == FileAttribute::Hidden ? "it is hidden"
                                                          : "it is a system file";
      return Verdict::AskAgain;
    case FileAttribute::Archive: {
      const MessageAnswer answer =
          messages_.Show(Message{"Warning", ExistingFileQuestion(path, attribute),
                                 MessageIcon::Exclamation, MessageButtons::YesNo});
      if (answer == MessageAnswer::Yes) {
        return Verdict::Accepted;
      }
      lastRefusal_ = "it already exists and is not to be overwritten";
      return Verdict::AskAgain;
    }
    case FileAttribute::Unmarked:
      lastRefusal_ = "it exists without the archive attribute";
      return Verdict::AskAgain;
    case FileAttribute::Unknown:
      break;
  }
  std::error_code error;
  if (!std::filesystem::is_directory(FolderOf(path), error)) {
    lastRefusal_ = "the folder " + PathText(FolderOf(path)) + " does not exist";
    return Verdict::AskAgain;
  }
  // The system's own reason, such as a name longer than the file system takes.
  (void)std::filesystem::symlink_status(path, error);
  lastRefusal_ = error ? "the system refuses the name: " + error.message()
                       : "its attributes could not be read";
  return Verdict::AskAgain;
}

bool OutputFileChooser::Choose(std::filesystem::path& path) {
  while (Try(path) == Verdict::AskAgain) {
    auto chosen = dialogs_.ChooseSaveFile(FileDialogRequest{"Geoid Model File|*.HDM*", "HDM", {}});
    if (!chosen) {
      return false;
    }
    path = *chosen;
  }
  return true;
}

std::string InterpolationCode(const std::string& interpolationText) {
  if (interpolationText == "4 Points") {
    return "1";
  }
  if (interpolationText == "16 Points") {
    return "2";
  }
  if (interpolationText == "9 Points") {
    return "3";
  }
  return interpolationText;
}

std::string SettingsFileText(const std::filesystem::path& outputPath, const std::string& language,
                             const std::string& interpolationText) {
  const std::string lines[] = {
      "#   File name geoid model",
      "[File]=" + SystemText(outputPath.filename()),
      "#   ENGLISH ",
      "#   SPANISH ",
      "[Language]=" + language,
      "#   1    -> Interpolation by 4 Points  (bilinear)",
      "#   2    -> Interpolation by 16 Points (bispline)",
      "#   3    -> Interpolation by 9 Points  (biquadratic) ",
      "#   4    -> Interpolation by 4 Points ReciprocalDistance",
      "[Interpolation]=" + InterpolationCode(interpolationText),
  };
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& outputPath) {
  return outputPath.parent_path() / kSettingsFileName;
}

Status WriteSettingsFile(const std::filesystem::path& outputPath, const std::string& language,
                         const std::string& interpolationText) {
  return ReplaceFileContents(SettingsFilePath(outputPath),
                             SettingsFileText(outputPath, language, interpolationText));
}

}  // namespace hextant
