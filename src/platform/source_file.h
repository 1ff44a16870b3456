#pragma once

// Opening a source to read: only a regular file is read. A folder, named pipe, device or socket is
// refused at once, before a byte is read (the file is opened without waiting and checked on the
// open descriptor), so no source can make the program wait forever or read without end.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <streambuf>

#include "base/status.h"

namespace hextant {

class SourceFile {
 public:
  SourceFile();
  ~SourceFile();
  SourceFile(const SourceFile&) = delete;
  SourceFile& operator=(const SourceFile&) = delete;

  /// Opens `path` for reading; the error names the file and what is wrong with it ("is a folder,
  /// not a file", "does not exist", the system's reason).
  Status Open(const std::filesystem::path& path);
  /// The open file as a stream of bytes, positioned at its start after Open.
  std::istream& Stream() noexcept { return stream_; }
  /// The file's size in bytes when it was opened.
  std::uint64_t Size() const noexcept { return size_; }
  /// A read that failed (the stream ended there as at the end of the file), naming the file and
  /// the system's reason; Ok when every read succeeded.
  Status ReadError() const;

 private:
  class Buffer;
  std::unique_ptr<Buffer> buffer_;
  std::istream stream_;
  std::uint64_t size_ = 0;
  std::filesystem::path path_;
};

/// Checks that `path` can be read as a source (what Open checks), without keeping it open.
Status CheckSourceFile(const std::filesystem::path& path);

}  // namespace hextant
