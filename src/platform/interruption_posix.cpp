#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

#include "platform/interruption_native.h"

// The signals are blocked in every thread and taken by one thread that waits for them, so the
// cleanup runs as ordinary code, free to take locks and list folders.

namespace hextant::native {
namespace {

// The stop signals that the process was not started to ignore: under nohup a hang-up stays
// ignored, as it must.
sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
      sigaddset(&set, signal);
    }
  }
  return set;
}

}  // namespace

void WatchInterruptions(void (*onInterruption)(int exitStatus)) {
  const sigset_t set = StopSignals();
  if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) {
    return;
  }
  try {
    std::thread([set, onInterruption] {
      for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) == 0) {
          onInterruption(128 + signal);
        }
      }
    }).detach();
  } catch (...) {
    // Without a thread the signals keep their default action: the next run removes the
    // staging files this one leaves.
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  }
}

void EndProcess(int exitStatus) noexcept {
  ::_exit(exitStatus);
}

}  // namespace hextant::native
