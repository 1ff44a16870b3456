#pragma once

// The command line of the command-line programs as UTF-8 text, the way the logic takes paths.

#include <string>
#include <vector>

namespace hextant {

/// The arguments after the program's name, as UTF-8: on Windows taken wide from the command line,
/// so that a path outside the system's code page arrives whole, and the console then shows UTF-8
/// output; elsewhere the bytes as given.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace hextant
