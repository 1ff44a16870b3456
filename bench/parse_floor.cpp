// The floor a text reader is measured against: map a whitespace-separated XYZ file and read its
// three numbers per line with std::from_chars on one thread, summing them so that nothing is
// left out. Prints the line count and the sum.
//   parse_floor FILE

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>

namespace {

// Sums the numbers of data[0, size); returns the number of lines.
long long ParseAll(const char* data, std::size_t size, double& sum) {
  const char* at = data;
  const char* const end = data + size;
  long long lines = 0;
  while (at < end) {
    for (int field = 0; field < 3 && at < end; ++field) {
      while (at < end && (*at == ' ' || *at == '\t')) {
        ++at;
      }
      double value = 0.0;
      const auto result = std::from_chars(at, end, value);
      at = result.ptr;
      sum += value;
    }
    while (at < end && *at != '\n') {
      ++at;
    }
    ++at;
    ++lines;
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("Usage: parse_floor FILE\n", stderr);
    return 2;
  }
  const int fd = ::open(argv[1], O_RDONLY);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0 || info.st_size <= 0) {
    std::fprintf(stderr, "parse_floor: %s can not be read\n", argv[1]);
    return 1;
  }
  const auto size = static_cast<std::size_t>(info.st_size);
  void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);
  if (map == MAP_FAILED) {
    std::fprintf(stderr, "parse_floor: %s can not be mapped\n", argv[1]);
    return 1;
  }
  ::madvise(map, size, MADV_SEQUENTIAL);
  double sum = 0.0;
  const long long lines = ParseAll(static_cast<const char*>(map), size, sum);
  ::munmap(map, size);
  std::printf("%lld lines, sum %.6f\n", lines, sum);
  return 0;
}
