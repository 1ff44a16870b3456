#include <windows.h>

#include "platform/interruption_native.h"

// Windows runs a console control handler on a thread of its own, so the cleanup runs there.

namespace hextant::native {
namespace {

void (*handler)(int) = nullptr;

BOOL WINAPI OnControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
      handler(130);
      return TRUE;
    case CTRL_BREAK_EVENT:
      handler(143);
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      handler(129);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void WatchInterruptions(void (*onInterruption)(int exitStatus)) {
  handler = onInterruption;
  SetConsoleCtrlHandler(OnControl, TRUE);
}

void EndProcess(int exitStatus) noexcept {
  ExitProcess(static_cast<UINT>(exitStatus));
}

}  // namespace hextant::native
