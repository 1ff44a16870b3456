#include "readers/reader_support.h"

#include <cmath>
#include <new>

#include "platform/source_file.h"

namespace hextant {

bool RunReader(const char* procedure, ReaderEnvironment& env, Status* failure,
               const std::function<Status()>& body) {
  Status result = Status::Ok();
  try {
    result = body();
  } catch (const std::bad_alloc&) {
    result = Status::Error(ErrorOutOfMemory, "Out of memory");
  } catch (const std::exception& e) {
    result = Status::Error(ErrorFileAccess, e.what());
  }
  if (env.Source != nullptr) {
    if (Status readError = env.Source->ReadError(); !readError) {
      result = readError;
    }
  }
  if (result) {
    return true;
  }
  ReportReaderError(env.Messages, procedure, result, env.Settings.SourceFile);
  if (failure != nullptr) {
    *failure = result;
  }
  return false;
}

bool ReadSourceFile(const std::filesystem::path& sourceFile, const char* procedure,
                    StreamReader read, ReaderEnvironment& env, ReaderOutput& output,
                    Status* failure) {
  SourceFile source;
  if (Status opened = source.Open(sourceFile); !opened) {
    env.Progress.ShowBar();
    return RunReader(procedure, env, failure, [&] { return opened; });
  }
  ReaderEnvironment reading{env.Settings, env.Progress, env.Messages, &source};
  return read(source.Stream(), source.Size(), reading, output, failure);
}

Status CheckSpacings(double spacingX, double spacingY) {
  for (double spacing : {spacingX, spacingY}) {
    if (!(std::isfinite(spacing) && spacing > 0)) {
      return Status::Error(ErrorInvalidSpacing, "The node spacing must be a positive number, not " +
                                                    NumberText(spacing));
    }
  }
  return Status::Ok();
}

Status SourceLines::Read(std::string_view& line) {
  return reader_.Next(line) ? Status::Ok()
                            : Status::Error(ErrorInputPastEnd, "Input past end of file");
}

std::int16_t SplitMerged(std::string_view line, std::string_view delimiter, std::int16_t maxFields,
                         std::vector<LineField>& fields) {
  const std::size_t first = line.find_first_not_of(' ');
  line = first == std::string_view::npos ? std::string_view() : line.substr(first);
  std::int16_t count = maxFields;
  if (!SplitLine(line, delimiter, count, fields, true)) {
    return 0;
  }
  return count;
}

double NumberOf(std::string_view text, std::uint64_t line, ReadDiagnostics& diagnostics,
                DecimalMark mark) noexcept {
  double value = 0.0;
  const char* last = text.data() + text.size();
  const auto [end, error] = ReadDecimal(text.data(), last, value, mark);
  if (error != std::errc()) {
    diagnostics.NoteNonNumeric(static_cast<std::int64_t>(line));
  } else if (!OnlyBlanksIn(end, last)) {
    diagnostics.NotePartial(static_cast<std::int64_t>(line), text, value);
  }
  return value;
}

bool OnlyNumbers(const std::vector<LineField>& fields, std::int16_t count, std::string_view code) {
  for (std::int16_t j = 1; j <= count; ++j) {
    const std::string_view text = fields[static_cast<std::size_t>(j)].Text;
    double value = 0.0;
    const char* last = text.data() + text.size();
    const auto [end, error] = ReadDecimal(text.data(), last, value);
    const bool whole = error == std::errc() && OnlyBlanksIn(end, last);
    const bool cutWithin = j == count && text.find_first_not_of("+-.0123456789") == text.npos;
    if (!whole && !cutWithin && text != code) {
      return false;
    }
  }
  return true;
}

std::string_view FieldText(const std::vector<LineField>& fields, std::int16_t count,
                           std::int16_t index) {
  if (index < 1 || index > count || static_cast<std::size_t>(index) >= fields.size()) {
    return {};
  }
  return fields[static_cast<std::size_t>(index)].Text;
}

}  // namespace hextant
