#include "readers/reader_progress.h"

#include <cmath>

#include "platform/file_system.h"
#include "readers/converter_frame.h"

namespace hextant {

int ReadPercent(std::uint64_t size, std::uint64_t position) noexcept {
  if (size == 0) {
    return 0;
  }
  return static_cast<int>(
      std::floor(static_cast<double>(position) / static_cast<double>(size) * 100.0));
}

std::string ReaderFailureDetail(const Status& error, const std::filesystem::path& file) {
  std::string cause = error.Description();
  if (error.Number() == ErrorInputPastEnd) {
    cause = "the file ends before all that its format holds was read (" + cause + ")";
  } else if (error.Number() == ErrorOutOfMemory) {
    cause = "there is not enough memory to hold its nodes (" + cause + ")";
  }
  const std::string name = file.empty() ? std::string() : PathText(file);
  if (name.empty() || cause.find(name) != std::string::npos) {
    return cause;
  }
  return name + ": " + cause;
}

void ReportReaderError(MessageBoxes& messages, const std::string& procedure, const Status& error,
                       const std::filesystem::path& file) {
  const bool format = error.Number() == ReaderFormatError;
  const std::string text = format
                               ? std::string("Unable to compute the selected file")
                               : "Unhandler Error in " + procedure + "\r\n" + error.Description();
  messages.Show(Message{ProgramTitle, text, MessageIcon::Critical, MessageButtons::Ok,
                        ReaderFailureDetail(error, file)});
}

}  // namespace hextant
