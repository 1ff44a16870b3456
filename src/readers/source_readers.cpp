#include "readers/source_readers.h"

#include "readers/catalunya_gr_reader.h"
#include "readers/generic_reader.h"
#include "readers/italy_reader.h"
#include "readers/la_reunion_reader.h"
#include "readers/netherlands_reader.h"
#include "readers/norway_reader.h"
#include "readers/poland_reader.h"
#include "readers/switzerland_reader.h"
#include "settings/choice_lists.h"

namespace hextant {

bool ReadSource(std::int16_t sourceFormat, const std::filesystem::path& sourceFile,
                ReaderEnvironment& env, ReaderOutput& output) {
  switch (sourceFormat) {
    case FormatImportWizard:
      return ConvertFileGeneric(sourceFile, env, output);
    case FormatNetherlands:
      return ConvertFileNetherlands(sourceFile, env, output);
    case FormatNorway:
    case FormatNorwayNn2000:
      return ConvertFileNorway(sourceFile, env, output);
    case FormatSwitzerland:
      return ConvertFileSwitzerland(sourceFile, env, output);
    case FormatItaly:
      return Convert_File_Italy(sourceFile, env, output);
    case FormatLaReunion:
      return ConvertFileLaReunion(sourceFile, env, output);
    case FormatCatalunya:
      return ConvertFileGR(sourceFile, env, output);
    case FormatPoland:
      return ConvertFilePoland(sourceFile, env, output);
    default:
      break;
  }
  const bool listed =
      sourceFormat >= 0 && static_cast<std::size_t>(sourceFormat) < SourceFormatNames.size();
  const std::string name =
      listed ? "\"" + std::string(SourceFormatNames[static_cast<std::size_t>(sourceFormat)]) + "\""
             : "number " + std::to_string(sourceFormat);
  env.Messages.Show(
      Message{ProgramTitle,
              "The reader for the source format " + name + " is not available in this version.",
              MessageIcon::Critical, MessageButtons::Ok});
  return false;
}

}  // namespace hextant
