#pragma once

// The one table of source formats: for each entry of the source format list, its list text, its
// command-line name, its reader, the preset it brings to the main window and how the conversion
// page previews its file. The list, the presets, the reader choice, the command-line names, the
// help text and the fuzz harness all come from it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "readers/converter_frame.h"
#include "readers/reader_support.h"
#include "settings/choice_lists.h"
#include "settings/source_preset.h"

namespace hextant {

/// A reader of the file at a path.
using PathReader = bool (*)(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                            ReaderOutput& output, Status* failure);

/// What the conversion page shows of the source before the run.
enum class PreviewKind {
  WizardColumns,      // the import wizard's columns
  RawLines,           // the first lines as they are
  RawLinesWideFirst,  // the same, the first column wide (keyword files)
  None,               // "No preview available for this file."
  GridSummary,        // what the grid file's header says
};

struct SourceFormatEntry {
  std::string_view ListText;
  std::string_view CommandName;
  PathReader Read;
  StreamReader ReadStream;
  SourcePreset Preset;
  PreviewKind Preview;
  /// The ellipsoid and interpolation lists stay the user's.
  bool ListsOpen = false;
  /// The coordinate type, units and spacings come from the chosen file's header.
  bool FileSetsGrid = false;
};

/// The source format list, in list order (`SourceFormat` is the position).
std::span<const SourceFormatEntry> SourceFormats() noexcept;

/// The number of entries of the source format list.
inline constexpr std::size_t SourceFormatCount = 10;

/// The entry at `position`, or nullptr when the list has none there.
const SourceFormatEntry* SourceFormatAt(std::int16_t position) noexcept;

/// The position of the entry whose command-line name or list text is `name`.
std::optional<std::int16_t> SourceFormatNamed(std::string_view name) noexcept;

}  // namespace hextant
