#include "readers/reader_progress.h"

#include <cmath>

#include "readers/converter_frame.h"

namespace hextant {

int ReadPercent(std::uint64_t size, std::uint64_t position) noexcept {
  if (size == 0) {
    return 0;
  }
  return static_cast<int>(
      std::floor(static_cast<double>(position) / static_cast<double>(size) * 100.0));
}

void ReportReaderError(MessageBoxes& messages, const std::string& procedure, const Status& error) {
  const bool format = error.Number() == ReaderFormatError;
  const std::string text = format
                               ? std::string("Unable to compute the selected file")
                               : "Unhandler Error in " + procedure + "\r\n" + error.Description();
  messages.Show(Message{ProgramTitle, text, MessageIcon::Critical, MessageButtons::Ok,
                        format ? error.Description() : std::string()});
}

}  // namespace hextant
