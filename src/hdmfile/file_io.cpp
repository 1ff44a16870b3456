#include "file_io.h"

#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace hdm {
namespace {

bool SyncToDisk(std::FILE* file) noexcept {
#if defined(_WIN32)
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

}  // namespace

OutputFile::OutputFile(const std::string& path, Mode mode)
    : file_(std::fopen(path.c_str(), mode == Mode::kTruncate ? "wb" : "ab")) {}

OutputFile::~OutputFile() {
  if (file_ != nullptr) {
    std::fclose(file_);
  }
}

bool OutputFile::Write(const std::uint8_t* data, std::size_t size) noexcept {
  return file_ != nullptr && std::fwrite(data, 1, size, file_) == size;
}

bool OutputFile::Commit() noexcept {
  if (file_ == nullptr) {
    return false;
  }
  const bool flushed = std::fflush(file_) == 0 && SyncToDisk(file_);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return flushed && closed;
}

std::optional<std::vector<std::uint8_t>> ReadSmallFile(const std::string& path,
                                                       std::size_t maxSize) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(maxSize + 1);
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed || got > maxSize) {
    return std::nullopt;
  }
  bytes.resize(got);
  return bytes;
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  OutputFile file(path, OutputFile::Mode::kTruncate);
  return file.Write(bytes.data(), bytes.size()) && file.Commit();
}

bool RenameReplacing(const std::string& from, const std::string& to) {
  std::error_code error;
  std::filesystem::rename(std::filesystem::path(from), std::filesystem::path(to), error);
  return !error;
}

void RemoveIfPresent(const char* path) noexcept {
  if (path == nullptr || *path == '\0') {
    return;
  }
  try {
    std::error_code error;
    const std::filesystem::path target(path);
    if (!std::filesystem::is_directory(target, error)) {
      std::filesystem::remove(target, error);
    }
  } catch (...) {
    // Nothing more can be done about a file that cannot even be named.
  }
}

}  // namespace hdm
