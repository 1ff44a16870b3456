#include <iostream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#define HEXTANT_STDERR_IS_TERMINAL (_isatty(_fileno(stderr)) != 0)
#else
#include <unistd.h>
#define HEXTANT_STDERR_IS_TERMINAL (::isatty(STDERR_FILENO) == 1)
#endif

#include "convert_command.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return hextant::RunConvertCommand(args, std::cout, std::cerr, HEXTANT_STDERR_IS_TERMINAL);
}
