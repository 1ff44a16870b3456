#pragma once

// Which entry of the source format list a file's content shows, for a source named when the
// program starts. Only layouts that nothing else shares are recognised; a file that could be
// several things, or a text of columns, is the import wizard's.

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace hextant {

/// The source format list position (SourceFormatPosition) that the content of the file at `path`
/// shows: the grid file entry for a published grid, "Norway" for a binary grid whose 64-byte
/// header its size matches, "Catalunya GR file", "Italy", "La Reunion", "Netherlands" or
/// "Switzerland" for their text layouts; FormatImportWizard for any other file and for one that
/// cannot be read. The file's name plays no part.
std::int16_t RecognizeSourceFormat(const std::filesystem::path& path);

/// The same for the national layouts, from the first bytes `head` of a file of `size` bytes
/// (the whole file when they are as many); FormatImportWizard when none of them fits.
std::int16_t RecognizeNationalFormat(std::string_view head, std::uint64_t size);

}  // namespace hextant
