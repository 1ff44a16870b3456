#include <csignal>
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
#if defined(SIGXFSZ)
  // A file-size limit then fails the write with EFBIG, which is reported, instead of killing the
  // program part-way without a word.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  const std::vector<std::string> args(argv + 1, argv + argc);
  return hextant::RunConvertCommand(args, std::cout, std::cerr, HEXTANT_STDERR_IS_TERMINAL);
}
