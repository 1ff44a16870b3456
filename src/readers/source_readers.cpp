#include "readers/source_readers.h"

#include "readers/source_formats.h"

namespace hextant {

bool ReadSource(std::int16_t sourceFormat, const std::filesystem::path& sourceFile,
                ReaderEnvironment& env, ReaderOutput& output) {
  if (const SourceFormatEntry* format = SourceFormatAt(sourceFormat)) {
    return format->Read(sourceFile, env, output, nullptr);
  }
  env.Messages.Show(Message{ProgramTitle,
                            "The reader for the source format number " +
                                std::to_string(sourceFormat) + " is not available in this version.",
                            MessageIcon::Critical, MessageButtons::Ok});
  return false;
}

}  // namespace hextant
