#include "hdm_report_options.h"

#include <charconv>

namespace hextant {
namespace {

bool ParseInt(const std::string& text, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<InspectOptions> ParseInspectOptions(const std::vector<std::string>& args,
                                                  std::string& problem) {
  InspectOptions options;
  problem.clear();
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&](int count = 1) -> bool {
      if (i + static_cast<std::size_t>(count) >= args.size()) {
        problem = arg + " needs " + (count == 1 ? "a value" : "two values");
        return false;
      }
      return true;
    };
    if (arg == "--help" || arg == "-h" || arg == "--version") {
      options.help = arg != "--version";
      options.version = !options.help;
      return options;
    } else if (arg == "--radians") {
      options.radians = true;
    } else if (arg == "--check") {
      options.check = true;
    } else if (arg == "--nodes") {
      options.nodes = true;
    } else if (arg == "--overwrite") {
      options.overwrite = true;
    } else if (arg == "--at") {
      if (!value()) {
        return std::nullopt;
      }
      auto point = ParseAtArgument(args[++i]);
      if (!point && i + 1 < args.size()) {
        // "--at X Y": the two numbers as two arguments.
        point = ParseAtArgument(args[i] + "," + args[i + 1]);
        i += point ? 1 : 0;
      }
      if (!point) {
        problem = "--at '" + args[i] + "' is not two numbers X,Y (or X Y)";
        return std::nullopt;
      }
      options.at.push_back(*point);
    } else if (arg == "--points") {
      if (!value()) {
        return std::nullopt;
      }
      options.pointsFile = args[++i];
    } else if (arg == "--interpolation") {
      int count = 0;
      if (!value() || !ParseInt(args[++i], count) || (count != 4 && count != 9 && count != 16)) {
        problem = problem.empty() ? "--interpolation takes 4, 9 or 16" : problem;
        return std::nullopt;
      }
      options.interpolation = count;
    } else if (arg == "--export") {
      if (!value(2)) {
        return std::nullopt;
      }
      options.exportFormat = args[++i];
      options.exportPath = args[++i];
      if (options.exportFormat != "gtx" && options.exportFormat != "isg" &&
          options.exportFormat != "xyz") {
        problem = "--export takes gtx, isg or xyz, not '" + options.exportFormat + "'";
        return std::nullopt;
      }
    } else if (arg == "--picture") {
      if (!value()) {
        return std::nullopt;
      }
      options.picturePath = args[++i];
    } else if (arg == "--width") {
      if (!value() || !ParseInt(args[++i], options.width) || options.width < 16 ||
          options.width > 8192) {
        problem = problem.empty() ? "--width takes a whole number from 16 to 8192" : problem;
        return std::nullopt;
      }
    } else if ((arg.starts_with("-") && arg != "-") || !options.path.empty()) {
      problem = "unexpected argument '" + arg + "'";
      return std::nullopt;
    } else {
      options.path = arg;
    }
  }
  if (options.path.empty()) {
    problem = "no model FILE given";
    return std::nullopt;
  }
  if ((options.nodes || options.check) &&
      (options.HasActions() || options.nodes == options.check)) {
    problem = options.nodes ? "--nodes goes alone" : "--check goes alone";
    return std::nullopt;
  }
  if (options.radians && (options.nodes || options.check || options.HasActions())) {
    problem = "--radians goes with the header only";
    return std::nullopt;
  }
  return options;
}

}  // namespace hextant
