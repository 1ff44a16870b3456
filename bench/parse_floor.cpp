// The floor a text reader is measured against: map a whitespace-separated XYZ file and read its
// three numbers per line with std::from_chars on one thread, summing them so that nothing is
// left out. Prints the line count and the sum. With --grid, the file is an ISG grid: every number
// after the end_of_head line is read.
//   parse_floor [--grid] FILE

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <string_view>

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

// Sums every number after the line that starts with end_of_head; returns how many there are.
long long ParseGridValues(const char* data, std::size_t size, double& sum) {
  const std::string_view text(data, size);
  const std::size_t head = text.find("\nend_of_head");
  const std::size_t start = head == std::string_view::npos ? size : text.find('\n', head + 1);
  const char* at = data + (start == std::string_view::npos ? size : start + 1);
  const char* const end = data + size;
  long long values = 0;
  while (at < end) {
    while (at < end && (*at == ' ' || *at == '\t' || *at == '\n' || *at == '\r')) {
      ++at;
    }
    if (at == end) {
      break;
    }
    double value = 0.0;
    const auto result = std::from_chars(at, end, value);
    at = result.ptr == at ? at + 1 : result.ptr;
    sum += value;
    ++values;
  }
  return values;
}

}  // namespace

int main(int argc, char** argv) {
  const bool grid = argc == 3 && std::string_view(argv[1]) == "--grid";
  if (argc != 2 && !grid) {
    std::fputs("Usage: parse_floor [--grid] FILE\n", stderr);
    return 2;
  }
  const char* path = argv[argc - 1];
  const int fd = ::open(path, O_RDONLY);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0 || info.st_size <= 0) {
    std::fprintf(stderr, "parse_floor: %s can not be read\n", path);
    return 1;
  }
  const auto size = static_cast<std::size_t>(info.st_size);
  void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);
  if (map == MAP_FAILED) {
    std::fprintf(stderr, "parse_floor: %s can not be mapped\n", path);
    return 1;
  }
  ::madvise(map, size, MADV_SEQUENTIAL);
  double sum = 0.0;
  const char* data = static_cast<const char*>(map);
  const long long count = grid ? ParseGridValues(data, size, sum) : ParseAll(data, size, sum);
  ::munmap(map, size);
  std::printf("%lld %s, sum %.6f\n", count, grid ? "values" : "lines", sum);
  return 0;
}
