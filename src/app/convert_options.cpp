#include "convert_options.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "grids/grid_file.h"
#include "readers/source_formats.h"
#include "readers/source_recognition.h"

#include "platform/file_system.h"
#include "settings/choice_lists.h"
#include "settings/ellipsoid.h"

namespace hextant {
namespace {

// --format NAME: an entry of the source format list, or a grid layout forced by its name.
void SetFormat(ConvertOptions& c, const std::string& value, std::string& error) {
  if (const auto layout = GridLayoutNamed(value)) {
    c.format = FormatGridFile;
    c.gridLayout = static_cast<std::int16_t>(*layout);
  } else if (!(c.format = SourceFormatNamed(value))) {
    error = "unknown source format '" + value + "'";
  }
}

// --area WEST SOUTH EAST NORTH: four numbers, the box not turned inside out.
std::size_t SetArea(ConvertOptions& c, const std::vector<std::string>& args, std::size_t i,
                    std::string& error) {
  double v[4] = {};
  for (std::size_t k = 0; k < 4; ++k) {
    const std::string text = i + 1 + k < args.size() ? args[i + 1 + k] : "";
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v[k]);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(v[k])) {
      error = "--area takes four numbers WEST SOUTH EAST NORTH; '" + text + "' is not one";
      return i;
    }
  }
  if (v[0] > v[2] || v[1] > v[3]) {
    error = "--area takes WEST SOUTH EAST NORTH with WEST <= EAST and SOUTH <= NORTH";
    return i;
  }
  c.area = AreaBox{v[0], v[1], v[2], v[3]};
  return i + 4;
}

template <std::size_t N>
std::optional<int> IndexOf(std::string_view value, const std::array<std::string_view, N>& names) {
  for (std::size_t i = 0; i < N; ++i) {
    if (value == names[i]) {
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

void AddDmsActions(ConvertOptions& command, int row, std::string_view value, std::string& error) {
  const std::size_t first = value.find(':');
  const std::size_t second = first == std::string_view::npos ? first : value.find(':', first + 1);
  if (second == std::string_view::npos || value.find(':', second + 1) != std::string_view::npos) {
    error = "a D:M:S spacing needs three parts separated by ':'";
    return;
  }
  const std::string parts[] = {std::string(value.substr(0, first)),
                               std::string(value.substr(first + 1, second - first - 1)),
                               std::string(value.substr(second + 1))};
  const TextBoxId boxes[] = {TextBoxId::Degrees, TextBoxId::Minutes, TextBoxId::Seconds};
  for (int i = 0; i < 3; ++i) {
    command.actions.push_back([box = boxes[i], row, text = parts[i]](MainWindowModel& w) {
      return w.EnterText(box, row, text);
    });
  }
}

const std::array<std::string_view, 50>& StartLineEntries() {
  static const auto entries = [] {
    static std::array<std::string, 50> texts;
    std::array<std::string_view, 50> views;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      texts[i] = std::to_string(i + 1);
      views[i] = texts[i];
    }
    return views;
  }();
  return entries;
}

void AddDelimiterAction(ConvertOptions& c, const std::string& value, std::string& error) {
  if (value.starts_with("other:")) {
    c.layoutActions.push_back([text = value.substr(6)](LayoutPageModel& p) {
      p.TypeOtherDelimiter(text);
      return p.SelectDelimiter(DelimiterOther);
    });
    return;
  }
  const auto option =
      IndexOf(value, std::array<std::string_view, 4>{"tab", "semicolon", "comma", "space"});
  if (!option) {
    error = "--delimiter takes tab, semicolon, comma, space or other:TEXT, not '" + value + "'";
    return;
  }
  c.layoutActions.push_back([o = *option](LayoutPageModel& p) { return p.SelectDelimiter(o); });
}

void AddColumnAction(ConvertOptions& c, const std::string& value, std::string& error) {
  constexpr std::array<std::string_view, 10> kRoles{"x",       "y",       "separation", "code",
                                                    "lon-deg", "lon-min", "lon-sec",    "lat-deg",
                                                    "lat-min", "lat-sec"};
  const std::size_t equals = value.find('=');
  const auto role = IndexOf(std::string_view(value).substr(0, equals), kRoles);
  const std::string number = equals == std::string::npos ? "" : value.substr(equals + 1);
  const bool digits = !number.empty() && number.size() <= 4 &&
                      number.find_first_not_of("0123456789") == std::string::npos;
  if (!role || !digits) {
    error = "--column takes ROLE=N with a role such as x, y or separation, not '" + value + "'";
    return;
  }
  const auto column = static_cast<std::int16_t>(std::stoi(number));
  const auto roleNumber = static_cast<std::int16_t>(*role + 1);
  c.columnActions.push_back(
      [column, roleNumber,
       name = std::string(kRoles[static_cast<std::size_t>(*role)])](ColumnPageModel& page) {
        if (!page.RightClick(column)) {
          return ActionResult::Refused(
              "column " + std::to_string(column) + " is not among the " +
              std::to_string(page.Grid_Preview.Columns() - 1) +
              " column(s) into which the file's lines split; --delimiter or --widths tell how "
              "they split");
        }
        if (!page.ToggleRole(roleNumber)) {
          return ActionResult::Refused("the role menu in use has no entry for " + name);
        }
        return ActionResult::Ok();
      });
}

// Adds the window actions of one option with a value; sets `error` when the value is not one the
// option takes.
void AddValueOption(ConvertOptions& c, std::string_view name, const std::string& value,
                    std::string& error) {
  auto choose = [&](auto names, auto act) {
    if (auto index = IndexOf(value, names)) {
      c.actions.push_back([act, i = *index](MainWindowModel& w) { return act(w, i); });
    } else {
      error = "--" + std::string(name) + " does not take '" + value + "'";
    }
  };
  auto type = [&](TextBoxId box, int row) {
    c.actions.push_back(
        [box, row, value](MainWindowModel& w) { return w.EnterText(box, row, value); });
  };
  if (name == "format") {
    SetFormat(c, value, error);
  } else if (name == "ellipsoid") {
    const auto table = StandardEllipsoids();
    std::optional<std::int16_t> position;
    for (std::size_t i = 0; i < table.size(); ++i) {
      if (table[i].Name == value) {
        position = static_cast<std::int16_t>(i);
      }
    }
    if (!position) {
      error = "unknown ellipsoid '" + value + "'";
      return;
    }
    c.actions.push_back([p = *position](MainWindowModel& w) { return w.SelectEllipsoid(p); });
  } else if (name == "coordinates") {
    choose(std::array<std::string_view, 2>{"geographical", "grid"},
           [](MainWindowModel& w, int i) { return w.SelectCoordinateType(i); });
  } else if (name == "angular-unit") {
    choose(std::array<std::string_view, 4>{"radians", "gons", "decimal-degrees", "sexagesimal"},
           [](MainWindowModel& w, int i) { return w.SelectAngularUnit(i); });
  } else if (name == "linear-unit") {
    choose(std::array<std::string_view, 3>{"metres", "international-feet", "us-feet"},
           [](MainWindowModel& w, int i) { return w.SelectLinearUnit(i); });
  } else if (name == "spacing-x" || name == "spacing-y") {
    type(TextBoxId::Spacing, name == "spacing-x" ? 0 : 1);
  } else if (name == "spacing-x-dms" || name == "spacing-y-dms") {
    AddDmsActions(c, name == "spacing-x-dms" ? 0 : 1, value, error);
  } else if (name == "hemisphere") {
    choose(std::array<std::string_view, 2>{"N", "S"},
           [](MainWindowModel& w, int i) { return w.SelectHemisphere(i == 1); });
  } else if (name == "exclude-code") {
    c.actions.push_back([](MainWindowModel& w) { return w.SetPointCode(true); });
    type(TextBoxId::CodeFilter, 0);
  } else if (name == "instrument") {
    choose(std::array<std::string_view, 2>{"R", "Q"},
           [](MainWindowModel& w, int i) { return w.SelectInstrumentType(i); });
  } else if (name == "interpolation") {
    choose(std::array<std::string_view, 3>{"4", "9", "16"}, [](MainWindowModel& w, int i) {
      return w.SelectInterpolation(static_cast<std::int16_t>(i));
    });
  } else if (name == "local-side") {
    choose(std::array<std::string_view, 2>{"off", "on"},
           [](MainWindowModel& w, int i) { return w.SetLocalSide(i == 1); });
  } else if (name == "start-line") {
    const auto entry = IndexOf(value, StartLineEntries());
    if (!entry) {
      error = "--start-line takes a line number from 1 to 50";
      return;
    }
    c.layoutActions.push_back([i = *entry](LayoutPageModel& p) { return p.ChooseStartLine(i); });
  } else if (name == "delimiter") {
    AddDelimiterAction(c, value, error);
  } else if (name == "widths") {
    c.layoutActions.push_back([value](LayoutPageModel& p) {
      p.TypeColumnWidths(value);
      p.PressEnterInColumns();
      return ActionResult::Ok();
    });
  } else if (name == "column") {
    AddColumnAction(c, value, error);
  } else if (name == "output") {
    c.output = PathFromText(value);
  } else {
    error = "unknown option --" + std::string(name);
  }
}

bool AddFlagOption(ConvertOptions& c, std::string_view name) {
  if (name == "no-merge") {
    c.layoutActions.push_back([](LayoutPageModel& p) { return p.SetMergeDelimiters(false); });
  } else if (name == "no-exclude-code") {
    c.actions.push_back([](MainWindowModel& w) { return w.SetPointCode(false); });
  } else if (name == "overwrite") {
    c.overwrite = true;
  } else if (name == "quiet") {
    c.quiet = true;
  } else if (name == "help") {
    c.help = true;
  } else if (name == "version") {
    c.version = true;
  } else {
    return false;
  }
  return true;
}

}  // namespace

namespace {

void ParseOptionList(const std::vector<std::string>& args, ConvertOptions& c, std::string& error) {
  for (std::size_t i = 0; i < args.size() && error.empty(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("--")) {
      if (!c.source.empty()) {
        error = "more than one SOURCE: '" + PathText(c.source) + "' and '" + arg + "'";
      }
      c.source = PathFromText(arg);
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? equals : equals - 2);
    if (equals == std::string::npos && AddFlagOption(c, name)) {
      continue;
    }
    if (name == "area" && equals == std::string::npos) {
      i = SetArea(c, args, i, error);
      continue;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = "--" + name + " needs a value";
      break;
    }
    AddValueOption(c, name, value, error);
  }
}

}  // namespace

std::string ConvertHelpText() {
  constexpr std::size_t kIndent = 27, kWidth = 98;
  std::string formats = std::string(kIndent, ' ');
  std::size_t lineLength = kIndent;
  for (const SourceFormatEntry& format : SourceFormats()) {
    const std::string word = std::string(format.CommandName) + ",";
    if (lineLength + word.size() + 1 > kWidth) {
      formats += "\n" + std::string(kIndent, ' ');
      lineLength = kIndent;
    } else if (lineLength > kIndent) {
      formats += ' ';
      ++lineLength;
    }
    formats += word;
    lineLength += word.size();
  }
  formats.back() = ';';
  std::string layouts;
  for (const GridLayoutName& layout : GridLayoutNames) {
    layouts += std::string(kIndent + 2, ' ') + std::string(layout.Name) + "  " +
               std::string(layout.Description) + "\n";
  }
  layouts.pop_back();
  std::string help = ConvertHelpPattern;
  help.replace(help.find("FORMATS"), 7, formats);
  help.replace(help.find("LAYOUTS"), 7, layouts);
  return help;
}

bool ParseConvertOptions(const std::vector<std::string>& args, ConvertOptions& c,
                         std::string& error) {
  ParseOptionList(args, c, error);
  if (error.empty() && !c.help && !c.version) {
    if (c.source.empty()) {
      error = "no SOURCE file given";
    }
  }
  return error.empty();
}

bool ParseWindowOptions(const std::vector<std::string>& args, ConvertOptions& c,
                        std::string& error) {
  ParseOptionList(args, c, error);
  if (error.empty() && (!c.layoutActions.empty() || !c.columnActions.empty() || c.output ||
                        c.overwrite || c.quiet || c.area)) {
    error = "the import wizard and output options belong to hextant-convert; the window asks";
  }
  // Without --format, SOURCE selects the format its content shows; the wizard stays otherwise.
  if (error.empty() && !c.format && !c.source.empty()) {
    if (const std::int16_t shown = RecognizeSourceFormat(c.source); shown != FormatImportWizard) {
      c.format = shown;
    }
  }
  if (error.empty() && c.format) {
    c.actions.insert(c.actions.begin(),
                     [f = *c.format](MainWindowModel& w) { return w.SelectSourceFormat(f); });
  }
  if (error.empty() && c.gridLayout) {
    c.actions.insert(c.actions.begin(),
                     [l = *c.gridLayout](MainWindowModel& w) { return w.ForceGridLayout(l); });
  }
  return error.empty();
}

}  // namespace hextant
