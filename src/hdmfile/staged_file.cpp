#include "staged_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

#include "crc32.h"

#include "staged_file_io.h"

namespace hdm {
namespace {

namespace fs = std::filesystem;
using namespace io;

// A tag is the writer's process id and eight digits that differ between its calls, so that an
// interrupted process finds its own staging files by name.
constexpr std::size_t kPidDigits = 8;
constexpr std::size_t kTagLength = kPidDigits + 8;
constexpr const char* kSuffix = ".part";
constexpr std::size_t kVerifyChunk = 64 << 10;  // stays in the cache between reads

std::uint64_t Mix(std::uint64_t x) noexcept {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

std::string HexDigits(std::uint64_t value, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string digits(count, '0');
  for (std::size_t i = 0; i < count; ++i) {
    digits[count - 1 - i] = kDigits[(value >> (4 * i)) & 0xFu];
  }
  return digits;
}

std::string ProcessTag() {
  return HexDigits(static_cast<std::uint32_t>(ProcessId()), kPidDigits);
}

// The process's id and eight hexadecimal digits that differ between calls and threads.
std::string UniqueTag() {
  static std::atomic<std::uint64_t> counter{0};
  const auto now =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  return ProcessTag() + HexDigits(Mix(now ^ Mix(counter++)), kTagLength - kPidDigits);
}

// The staging files of a target are named ".NAME.TTTTTTTT.part" beside it, NAME cut short
// where the whole would pass the 255 bytes (units on Windows) that file systems allow a name,
// so that every name a file system takes can be a target.
fs::path::string_type StagingPrefix(const fs::path& target) {
  constexpr std::size_t kLongestName = 255;
  constexpr std::size_t kAdded = 2 + kTagLength + 5;  // ".", ".", the tag, ".part"
  fs::path::string_type name = target.filename().native();
  if (name.size() > kLongestName - kAdded) {
    name.resize(kLongestName - kAdded);
  }
  return fs::path(".").native() + name + fs::path(".").native();
}

fs::path FolderOf(const fs::path& target) {
  const fs::path folder = target.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

bool IsStagingName(const fs::path::string_type& name, const fs::path::string_type& prefix) {
  const fs::path::string_type suffix = fs::path(kSuffix).native();
  if (name.size() != prefix.size() + kTagLength + suffix.size() ||
      name.compare(0, prefix.size(), prefix) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return false;
  }
  for (std::size_t i = prefix.size(); i < prefix.size() + kTagLength; ++i) {
    const auto c = name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
      return false;
    }
  }
  return true;
}

// A staging file of `prefix`'s target, or the staging file of one: a model that a caller stages
// itself is written through a staging file of that staging name.
bool IsStagingOf(const fs::path::string_type& name, const fs::path::string_type& prefix) {
  if (IsStagingName(name, prefix)) {
    return true;
  }
  const std::size_t wrapping = 2 + kTagLength + fs::path(kSuffix).native().size();
  if (name.size() <= wrapping || name[0] != '.') {
    return false;
  }
  const fs::path::string_type inner = name.substr(1, name.size() - wrapping);
  return IsStagingName(inner, prefix) &&
         IsStagingName(name, fs::path(".").native() + inner + fs::path(".").native());
}

}  // namespace

StagedFile::StagedFile(const fs::path& target) noexcept {
  try {
    target_ = target;
    const int mode = ExistingMode(target);
    for (int attempt = 0; attempt < 64 && fd_ < 0; ++attempt) {
      staging_ = StagingPathFor(target);
      fd_ = OpenExclusive(staging_, mode);
      if (fd_ < 0 && errno != EEXIST) {
        break;
      }
      if (fd_ >= 0 && !MarkLive(fd_, staging_)) {
        // Another process took the new file for abandoned before it was marked: try a new name.
        CloseFile(fd_);
        fd_ = -1;
        std::error_code ignored;
        fs::remove(staging_, ignored);
        errno = EEXIST;
      }
    }
    if (fd_ < 0) {
      error_ = errno != 0 ? errno : EIO;
      return;
    }
  } catch (...) {
    error_ = ENOMEM;
  }
}

StagedFile::~StagedFile() {
  if (!committed_) {
    Discard();
  }
}

bool StagedFile::Fail(int error) noexcept {
  if (error_ == 0) {
    error_ = error != 0 ? error : EIO;
  }
  return false;
}

void StagedFile::Discard() noexcept {
  if (fd_ >= 0) {
    CloseFile(fd_);
    fd_ = -1;
    std::error_code ignored;
    fs::remove(staging_, ignored);
  }
}

bool StagedFile::Write(const void* data, std::size_t size) noexcept {
  if (fd_ < 0 || error_ != 0) {
    return Fail(EBADF);
  }
  crc_ = Crc32(static_cast<const std::uint8_t*>(data), size, crc_);
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const int n = WriteSome(fd_, p, size);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return Fail(n < 0 ? errno : ENOSPC);
    }
    p += n;
    size -= static_cast<std::size_t>(n);
    written_ += static_cast<std::uint64_t>(n);
  }
  return true;
}

// Reads the staging file back: it must hold exactly the bytes written, no more and no less.
bool StagedFile::Verify() noexcept {
  try {
    std::vector<char> buffer(kVerifyChunk);
    std::uint32_t crc = 0;
    std::uint64_t offset = 0;
    for (;;) {
      const int n = ReadAt(fd_, buffer.data(), buffer.size(), offset);
      if (n < 0 && errno == EINTR) {
        continue;
      }
      if (n < 0) {
        return Fail(errno);
      }
      if (n == 0) {
        break;
      }
      crc = Crc32(reinterpret_cast<const std::uint8_t*>(buffer.data()), static_cast<std::size_t>(n),
                  crc);
      offset += static_cast<std::uint64_t>(n);
    }
    return offset == written_ && crc == crc_ ? true : Fail(EIO);
  } catch (...) {
    return Fail(ENOMEM);
  }
}

bool StagedFile::Commit() noexcept {
  if (fd_ < 0 || error_ != 0) {
    return Fail(EBADF);
  }
  if (!SyncFile(fd_)) {
    return Fail(errno);
  }
#if defined(_WIN32)
  // Windows neither reads back through a write-only descriptor nor renames an open file.
  CloseFile(fd_);
  fd_ = OpenForCheck(staging_);
  if (fd_ < 0) {
    return Fail(errno);
  }
  const bool verified = Verify();
  CloseFile(fd_);
  fd_ = -1;
  if (!verified) {
    std::error_code ignored;
    fs::remove(staging_, ignored);
    return false;
  }
#else
  {
    // Read back through a descriptor of its own: the staging one was opened write-only.
    const int writeFd = fd_;
    fd_ = OpenForCheck(staging_);
    const bool verified = fd_ >= 0 && Verify();
    if (fd_ >= 0) {
      CloseFile(fd_);
    } else {
      Fail(errno);
    }
    fd_ = writeFd;
    if (!verified) {
      return false;
    }
  }
#endif
  if (!Replace(staging_, target_)) {
    Fail(errno);
#if defined(_WIN32)
    std::error_code ignored;
    fs::remove(staging_, ignored);
#endif
    return false;
  }
  committed_ = true;
  SyncFolder(FolderOf(target_));
  if (fd_ >= 0) {
    CloseFile(fd_);  // releases the live lock only now that the name is the target's
    fd_ = -1;
  }
  return true;
}

namespace {

// Calls `visit(path, tag)` for each staging file of `target`.
template <typename Visitor>
void ForEachStagingFile(const fs::path& target, Visitor visit) noexcept {
  try {
    const fs::path::string_type prefix = StagingPrefix(target);
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(FolderOf(target), error)) {
      const fs::path::string_type name = entry.path().filename().native();
      if (!IsStagingOf(name, prefix) || !entry.is_regular_file(error)) {
        continue;
      }
      const std::size_t suffix = fs::path(kSuffix).native().size();
      visit(entry.path(),
            fs::path(name.substr(name.size() - suffix - kTagLength, kTagLength)).string());
    }
  } catch (...) {
    // A folder that cannot be listed has nothing this could clean.
  }
}

}  // namespace

void RemoveAbandonedStagingFiles(const fs::path& target) noexcept {
  ForEachStagingFile(target,
                     [](const fs::path& path, const std::string&) { RemoveIfAbandoned(path); });
}

void RemoveOwnStagingFiles(const fs::path& target) noexcept {
  const std::string own = ProcessTag();
  ForEachStagingFile(target, [&own](const fs::path& path, const std::string& tag) {
    if (tag.compare(0, kPidDigits, own) == 0) {
      std::error_code ignored;
      fs::remove(path, ignored);
    }
  });
}

bool CommitStagingFile(const fs::path& staging, const fs::path& target) noexcept {
  if (!Replace(staging, target)) {
    return false;
  }
  SyncFolder(FolderOf(target));
  return true;
}

fs::path StagingPathFor(const fs::path& target) {
  return FolderOf(target) / fs::path(StagingPrefix(target) + fs::path(UniqueTag()).native() +
                                     fs::path(kSuffix).native());
}

}  // namespace hdm
