#include "convert_options.h"

#include <array>
#include <string_view>

#include "platform/file_system.h"
#include "settings/choice_lists.h"
#include "settings/ellipsoid.h"

namespace hextant {
namespace {

std::optional<std::int16_t> FormatPosition(std::string_view name) {
  constexpr std::array<std::string_view, 9> kAliases{"wizard",        "netherlands", "norway",
                                                     "switzerland",   "italy",       "la-reunion",
                                                     "norway-nn2000", "catalunya",   "poland"};
  for (std::size_t i = 0; i < kAliases.size(); ++i) {
    if (name == kAliases[i] || name == SourceFormatNames[i]) {
      return static_cast<std::int16_t>(i);
    }
  }
  return std::nullopt;
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
          return ActionResult::Refused("column " + std::to_string(column) +
                                       " is not in the preview of Grid_Preview");
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
    c.format = FormatPosition(value);
    if (!c.format) {
      error = "unknown source format '" + value + "'";
    }
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

bool ParseConvertOptions(const std::vector<std::string>& args, ConvertOptions& c,
                         std::string& error) {
  ParseOptionList(args, c, error);
  if (error.empty() && !c.help && !c.version) {
    if (c.source.empty()) {
      error = "no SOURCE file given";
    } else if (!c.format) {
      error = "--format is required";
    }
  }
  return error.empty();
}

bool ParseWindowOptions(const std::vector<std::string>& args, ConvertOptions& c,
                        std::string& error) {
  ParseOptionList(args, c, error);
  if (error.empty() && (!c.layoutActions.empty() || !c.columnActions.empty() || c.output ||
                        c.overwrite || c.quiet)) {
    error = "the import wizard and output options belong to hextant-convert; the window asks";
  }
  if (error.empty() && c.format) {
    c.actions.insert(c.actions.begin(),
                     [f = *c.format](MainWindowModel& w) { return w.SelectSourceFormat(f); });
  }
  return error.empty();
}

}  // namespace hextant
