#include "conversion/output_file.h"

#include <fstream>

#include "platform/file_system.h"

namespace hextant {
namespace {

constexpr const char* kSettingsFileName = "HdmToTarvo.INI";

std::string ExistingFileQuestion(const std::string& path, FileAttribute attribute) {
  const std::string start = "The file " + path + " already exists";
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

std::string DefaultOutputName(std::string_view sourcePath) {
  const std::size_t dot = sourcePath.rfind('.');
  if (dot == std::string_view::npos) {
    return std::string(sourcePath) + ".HDM";
  }
  return std::string(sourcePath.substr(0, dot + 1)) + "HDM";
}

void OutputFileChooser::ShowError(const std::string& text) {
  messages_.Show(Message{"Error", text, MessageIcon::Critical, MessageButtons::Ok});
}

OutputFileChooser::Verdict OutputFileChooser::Try(const std::string& path) {
  const FileAttribute attribute = QueryFileAttribute(path);
  switch (attribute) {
    case FileAttribute::Missing: {
      const Status created = CreateEmptyFile(path);
      if (created) {
        return Verdict::Accepted;
      }
      ShowError("The file " + path + " can not been created. " + created.Description());
      return Verdict::AskAgain;
    }
    case FileAttribute::ReadOnly:
    case FileAttribute::Hidden:
    case FileAttribute::System:
      ShowError(ExistingFileQuestion(path, attribute));
      return Verdict::AskAgain;
    case FileAttribute::Archive: {
      const MessageAnswer answer =
          messages_.Show(Message{"Warning", ExistingFileQuestion(path, attribute),
                                 MessageIcon::Exclamation, MessageButtons::YesNo});
      return answer == MessageAnswer::Yes ? Verdict::Accepted : Verdict::AskAgain;
    }
    case FileAttribute::Unknown:
      break;
  }
  return Verdict::AskAgain;
}

bool OutputFileChooser::Choose(std::string& path) {
  while (Try(path) == Verdict::AskAgain) {
    auto chosen = dialogs_.ChooseSaveFile(FileDialogRequest{"Geoid Model File|*.HDM*", "HDM", ""});
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

std::string SettingsFileText(std::string_view outputPath, const std::string& language,
                             const std::string& interpolationText) {
  const std::string lines[] = {
      "#   File name geoid model",
      "[File]=" + std::string(FileNamePart(outputPath)),
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

std::string SettingsFilePath(std::string_view outputPath) {
  const std::size_t folderLength = outputPath.size() - FileNamePart(outputPath).size();
  return std::string(outputPath.substr(0, folderLength)) + kSettingsFileName;
}

Status WriteSettingsFile(const std::string& outputPath, const std::string& language,
                         const std::string& interpolationText) {
  const std::string path = SettingsFilePath(outputPath);
  const std::string text = SettingsFileText(outputPath, language, interpolationText);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  if (!file) {
    return Status::Error(ErrorFileAccess, "The settings file " + path + " could not be written.");
  }
  return Status::Ok();
}

}  // namespace hextant
