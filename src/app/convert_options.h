#pragma once

// The options of hextant-convert, each turned into the user's action on the main window or on a
// page of the import wizard.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/area_cut.h"
#include "mainwindow/main_window_model.h"
#include "wizard/column_page_model.h"
#include "wizard/layout_page_model.h"

namespace hextant {

/// The help text; FORMATS and LAYOUTS stand for the lists made from the source format table.
inline constexpr const char* ConvertHelpPattern = R"(Usage: hextant-convert [OPTIONS] SOURCE

Converts the geoid model in SOURCE into an HDM model file and writes HdmToTarvo.INI beside it,
exactly as the Hextant window does: every option is applied as the user's action on the main
window, in the order given (--format first, wherever it stands), after the window is created and
SOURCE chosen. A locked control, a number box that refuses its text or a validation message
stops with status 2.

Source and window:
  --format NAME            the source format's list text ("Catalunya GR file") or one of
FORMATS
                           or the name of a grid layout, to read SOURCE as that layout:
LAYOUTS
                           Without --format, a SOURCE whose content is a grid file of one of
                           these layouts is read as one (--format grid); others need --format.
  --ellipsoid NAME         the ellipsoid's list text ("WGS 1984")
  --coordinates geographical|grid
  --angular-unit radians|gons|decimal-degrees|sexagesimal
  --linear-unit metres|international-feet|us-feet
  --spacing-x TEXT         typed into the first spacing box
  --spacing-y TEXT         typed into the second spacing box
  --spacing-x-dms D:M:S    typed into the degree, minute and second boxes of the first row
  --spacing-y-dms D:M:S    the same for the second row
  --hemisphere N|S
  --exclude-code TEXT      tick "Exclude data with code:" and type TEXT into the code box
  --no-exclude-code        untick it
  --instrument R|Q         Series R or Series Q
  --interpolation 4|9|16
  --local-side on|off      tick or untick "Apply on the local side"

Import wizard (with --format wizard), applied to its two pages after the main window's options:
  --start-line N           choose entry N (1..50) of "Start import at line:"
  --delimiter tab|semicolon|comma|space|other:TEXT
  --widths LIST            choose "Columns", type LIST (such as 4,3,2) and press Enter
  --no-merge               untick "Treat consecutive characters as one."
  --column ROLE=N          right-click column N of the preview and choose ROLE's entry; ROLE is
                           x, y, separation, code, lon-deg, lon-min, lon-sec, lat-deg, lat-min or
                           lat-sec (repeatable; choosing a role that has a column takes it back)

The project area, for every format:
  --area WEST SOUTH EAST NORTH
                           keep only the nodes inside the box, its boundary included: decimal
                           degrees for a geographical model, metres for a grid one

Output:
  --output FILE            propose FILE instead of SOURCE with the extension HDM
  --overwrite              answer Yes when the model file already exists (default: No, and
                           with no save dialog to show, the conversion stops)
  --quiet                  show no progress (progress goes to stderr when it is a terminal)
  --help                   show this text
  --version                print the version

Every message box is printed to stderr as "TITLE: TEXT". On success the results are printed to
stdout as "Output File: PATH", "Number of points: N" (the model's nodes), "Points read: P" (what
the reader gave, before --area kept some), "Grid Rows: R", "Grid Columns: C", "Units: mm|cm"
and "Read back: ...".

Exit status: 0 the model and HdmToTarvo.INI were written; 1 the conversion stopped (the reader,
the output file choice or the writer said no); 2 bad usage or the window refused an entry;
3 THE GRID IS NOT REGULAR (the model was written, HdmToTarvo.INI was not); 4 the model was
written, HdmToTarvo.INI could not be (the reason is printed).
)";

using WindowAction = std::function<ActionResult(MainWindowModel&)>;
using LayoutAction = std::function<ActionResult(LayoutPageModel&)>;
using ColumnAction = std::function<ActionResult(ColumnPageModel&)>;

/// What the command line asks for: the source, the actions on the main window and on the two
/// wizard pages in the order given, and the output choices.
struct ConvertOptions {
  std::filesystem::path source;
  std::optional<std::int16_t> format;      // none: a grid file is recognised by its content
  std::optional<std::int16_t> gridLayout;  // a grid layout named by --format
  std::optional<AreaBox> area;
  std::vector<WindowAction> actions;
  std::vector<LayoutAction> layoutActions;
  std::vector<ColumnAction> columnActions;
  std::optional<std::filesystem::path> output;
  bool overwrite = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
};

/// The help text of hextant-convert.
std::string ConvertHelpText();

/// Reads the arguments (without the program name) into `options`; false with `error` set when an
/// option is unknown, lacks its value or does not take it.
bool ParseConvertOptions(const std::vector<std::string>& args, ConvertOptions& options,
                         std::string& error);

/// Reads the arguments of the window, `hextant [OPTIONS] [SOURCE]`: the main window's options
/// only, SOURCE and --format optional; the format's action comes first in `options.actions`.
/// Without --format, the format that SOURCE's content shows is chosen (RecognizeSourceFormat).
bool ParseWindowOptions(const std::vector<std::string>& args, ConvertOptions& options,
                        std::string& error);

}  // namespace hextant
