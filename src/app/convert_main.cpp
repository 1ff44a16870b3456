#include <csignal>
#include <iostream>

#if defined(_WIN32)
#include <io.h>
#define HEXTANT_STDERR_IS_TERMINAL (_isatty(_fileno(stderr)) != 0)
#else
#include <unistd.h>
#define HEXTANT_STDERR_IS_TERMINAL (::isatty(STDERR_FILENO) == 1)
#endif

#include "convert_command.h"
#include "platform/interruption.h"
#include "utf8_arguments.h"

int main(int argc, char** argv) {
#if defined(SIGXFSZ)
  // A file-size limit then fails the write with EFBIG, which is reported, instead of killing the
  // program part-way without a word.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  hextant::InstallInterruptionCleanup();
  return hextant::RunConvertCommand(hextant::Utf8Arguments(argc, argv), std::cout, std::cerr,
                                    HEXTANT_STDERR_IS_TERMINAL);
}
