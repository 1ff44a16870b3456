#include "platform/source_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/file_system.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace hextant {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr std::streamsize kMostDirect = 1 << 30;  // bytes one read asks for at most

#if defined(_WIN32)
using FileStat = struct _stat64;
int OpenForReading(const std::filesystem::path& path) {
  int fd = -1;
  return _wsopen_s(&fd, path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0) == 0
             ? fd
             : -1;
}
int StatOf(int fd, FileStat& info) {
  return _fstat64(fd, &info);
}
bool IsRegular(const FileStat& info) {
  return (info.st_mode & _S_IFMT) == _S_IFREG;
}
const char* KindOf(const FileStat& info) {
  return (info.st_mode & _S_IFMT) == _S_IFDIR ? "a folder" : "a device";
}
int ReadSome(int fd, char* data, std::size_t size) {
  return _read(fd, data, static_cast<unsigned int>(size));
}
std::int64_t SeekTo(int fd, std::int64_t offset) {
  return _lseeki64(fd, offset, SEEK_SET);
}
int CloseFile(int fd) {
  return _close(fd);
}
#else
using FileStat = struct stat;
// Without O_NONBLOCK, opening a named pipe would wait for a writer that may never come.
int OpenForReading(const std::filesystem::path& path) {
  return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}
int StatOf(int fd, FileStat& info) {
  return ::fstat(fd, &info);
}
bool IsRegular(const FileStat& info) {
  return S_ISREG(info.st_mode);
}
const char* KindOf(const FileStat& info) {
  if (S_ISDIR(info.st_mode)) {
    return "a folder";
  }
  if (S_ISFIFO(info.st_mode)) {
    return "a named pipe";
  }
  if (S_ISSOCK(info.st_mode)) {
    return "a socket";
  }
  return "a device";
}
int ReadSome(int fd, char* data, std::size_t size) {
  return static_cast<int>(::read(fd, data, size));
}
std::int64_t SeekTo(int fd, std::int64_t offset) {
  return static_cast<std::int64_t>(::lseek(fd, static_cast<off_t>(offset), SEEK_SET));
}
int CloseFile(int fd) {
  return ::close(fd);
}
#endif

Status OpenFailure(const std::filesystem::path& path, int error) {
  if (error == ENOENT) {
    return Status::Error(ErrorFileNotFound, "The file " + PathText(path) + " does not exist.");
  }
  return Status::Error(ErrorFileAccess, "The file " + PathText(path) +
                                            " can not be read: " + SystemErrorText(error));
}

Status NotAFile(const std::filesystem::path& path, const char* kind) {
  return Status::Error(ErrorFileAccess,
                       PathText(path) + " is " + kind + ", not a file: only a file can be read.");
}

// Opens and checks `path`; the descriptor of a regular file, or -1 with `status` set.
int OpenRegularFile(const std::filesystem::path& path, Status& status, std::uint64_t& size) {
  const int fd = OpenForReading(path);
  if (fd < 0) {
    const int error = errno;
#if defined(_WIN32)
    // Windows opens no folder as a file: it refuses access instead.
    std::error_code ignored;
    if (error == EACCES && std::filesystem::is_directory(path, ignored)) {
      status = NotAFile(path, "a folder");
      return -1;
    }
#endif
    status = OpenFailure(path, error);
    return -1;
  }
  FileStat info{};
  if (StatOf(fd, info) != 0) {
    status = OpenFailure(path, errno);
    CloseFile(fd);
    return -1;
  }
  if (!IsRegular(info)) {
    status = NotAFile(path, KindOf(info));
    CloseFile(fd);
    return -1;
  }
#if !defined(_WIN32)
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
#endif
  size = static_cast<std::uint64_t>(info.st_size);
  status = Status::Ok();
  return fd;
}

}  // namespace

// A read-only, seekable stream buffer over a file descriptor that it owns.
class SourceFile::Buffer : public std::streambuf {
 public:
  explicit Buffer(int fd) : fd_(fd), data_(kBufferSize) {}
  ~Buffer() override { CloseFile(fd_); }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) {
      return traits_type::to_int_type(*gptr());
    }
    int got = 0;
    do {
      got = ReadSome(fd_, data_.data(), data_.size());
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
      NoteError(got);
      return traits_type::eof();  // the reader stops here; the error is asked for afterwards
    }
    start_ += static_cast<std::uint64_t>(egptr() - eback());
    setg(data_.data(), data_.data(), data_.data() + got);
    return traits_type::to_int_type(*gptr());
  }

  // Large reads go straight from the file into the caller's memory, past the buffer.
  std::streamsize xsgetn(char* to, std::streamsize count) override {
    std::streamsize done = 0;
    while (done < count) {
      if (const std::streamsize buffered = egptr() - gptr(); buffered > 0) {
        const std::streamsize taken = std::min(buffered, count - done);
        std::memcpy(to + done, gptr(), static_cast<std::size_t>(taken));
        gbump(static_cast<int>(taken));
        done += taken;
      } else if (count - done < static_cast<std::streamsize>(data_.size())) {
        if (traits_type::eq_int_type(underflow(), traits_type::eof())) {
          break;
        }
      } else {
        const auto want =
            static_cast<std::size_t>(std::min<std::streamsize>(count - done, kMostDirect));
        int got = 0;
        do {
          got = ReadSome(fd_, to + done, want);
        } while (got < 0 && errno == EINTR);
        if (got <= 0) {
          NoteError(got);
          break;
        }
        start_ += static_cast<std::uint64_t>(egptr() - eback()) + static_cast<std::uint64_t>(got);
        setg(data_.data(), data_.data(), data_.data());
        done += got;
      }
    }
    return done;
  }

  pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                   std::ios_base::openmode) override {
    const auto here = static_cast<off_type>(start_) + (gptr() - eback());
    if (direction == std::ios_base::cur) {
      offset += here;
    } else if (direction == std::ios_base::end) {
      return pos_type(off_type(-1));  // the readers only go back to a position they saw
    }
    return seekpos(pos_type(offset), std::ios_base::in);
  }

  pos_type seekpos(pos_type position, std::ios_base::openmode) override {
    const auto target = static_cast<std::int64_t>(position);
    if (target < 0 || SeekTo(fd_, target) < 0) {
      return pos_type(off_type(-1));
    }
    start_ = static_cast<std::uint64_t>(target);
    setg(data_.data(), data_.data(), data_.data());
    return position;
  }

 public:
  /// The system's error number of the first read that failed, 0 when none did.
  int Error() const noexcept { return error_; }

 private:
  void NoteError(int got) noexcept {
    if (got < 0 && error_ == 0) {
      error_ = errno != 0 ? errno : EIO;
    }
  }

  int fd_;
  int error_ = 0;
  std::vector<char> data_;
  std::uint64_t start_ = 0;  // file position of the start of the buffered bytes
};

SourceFile::SourceFile() : stream_(nullptr) {}

SourceFile::~SourceFile() = default;

Status SourceFile::ReadError() const {
  if (buffer_ == nullptr || buffer_->Error() == 0) {
    return Status::Ok();
  }
  return Status::Error(ErrorFileAccess, "The file " + PathText(path_) + " could not be read: " +
                                            SystemErrorText(buffer_->Error()));
}

Status SourceFile::Open(const std::filesystem::path& path) {
  stream_.rdbuf(nullptr);
  buffer_.reset();
  path_ = path;
  Status status = Status::Ok();
  const int fd = OpenRegularFile(path, status, size_);
  if (fd < 0) {
    stream_.setstate(std::ios::badbit);
    return status;
  }
  buffer_ = std::make_unique<Buffer>(fd);
  stream_.rdbuf(buffer_.get());
  stream_.clear();
  return status;
}

Status CheckSourceFile(const std::filesystem::path& path) {
  SourceFile file;
  return file.Open(path);
}

}  // namespace hextant
