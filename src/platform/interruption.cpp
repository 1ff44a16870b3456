#include "platform/interruption.h"

#include <mutex>
#include <vector>

#include "hdmfile/staged_file.h"
#include "platform/interruption_native.h"

namespace hextant {
namespace {

struct Registration {
  int id = 0;
  std::filesystem::path target;
  std::optional<FileIdentity> placeholder;
};

struct Registry {
  std::mutex mutex;
  std::vector<Registration> entries;
  int nextId = 1;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RemoveInterruptedFiles() noexcept {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  try {
    for (const Registration& entry : registry.entries) {
      hdm::RemoveOwnStagingFiles(entry.target);
      if (entry.placeholder) {
        RemoveEmptyPlaceholder(entry.target, *entry.placeholder);
      }
    }
  } catch (...) {
    // The process ends anyway; what could not be removed is an abandoned staging file that the
    // next run removes.
  }
}

InterruptionCleanup::InterruptionCleanup(std::filesystem::path target,
                                         std::optional<FileIdentity> placeholder) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  id_ = registry.nextId++;
  registry.entries.push_back(Registration{id_, std::move(target), placeholder});
}

InterruptionCleanup::~InterruptionCleanup() {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  std::erase_if(registry.entries, [this](const Registration& entry) { return entry.id == id_; });
}

void InterruptionCleanup::ForgetPlaceholder() noexcept {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  for (Registration& entry : registry.entries) {
    if (entry.id == id_) {
      entry.placeholder.reset();
    }
  }
}

void InstallInterruptionCleanup() {
  native::WatchInterruptions([](int exitStatus) {
    RemoveInterruptedFiles();
    native::EndProcess(exitStatus);
  });
}

}  // namespace hextant
