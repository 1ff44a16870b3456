#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>

#include <io.h>
#include <shellapi.h>  // after windows.h, which it needs
#define HEXTANT_STDERR_IS_TERMINAL (_isatty(_fileno(stderr)) != 0)
#else
#include <unistd.h>
#define HEXTANT_STDERR_IS_TERMINAL (::isatty(STDERR_FILENO) == 1)
#endif

#include "convert_command.h"
#include "platform/interruption.h"

namespace {

// The arguments after the program's name, as UTF-8: on Windows taken wide from the command line,
// so that a path outside the system's code page arrives whole.
std::vector<std::string> Arguments(int argc, char** argv) {
#if defined(_WIN32)
  (void)argc;
  (void)argv;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide != nullptr && i < count; ++i) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), length, nullptr, nullptr);
    arg.resize(arg.size() - 1);
    args.push_back(arg);
  }
  LocalFree(wide);
  SetConsoleOutputCP(CP_UTF8);  // the messages are UTF-8
  return args;
#else
  return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

}  // namespace

int main(int argc, char** argv) {
#if defined(SIGXFSZ)
  // A file-size limit then fails the write with EFBIG, which is reported, instead of killing the
  // program part-way without a word.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  hextant::InstallInterruptionCleanup();
  return hextant::RunConvertCommand(Arguments(argc, argv), std::cout, std::cerr,
                                    HEXTANT_STDERR_IS_TERMINAL);
}
