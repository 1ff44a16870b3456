/* LD_PRELOAD shim for the read-error test: read() of the file whose full path is in
 * HEXTANT_FAIL_READS_OF fails with EIO at and past its byte HEXTANT_FAIL_AFTER, on every
 * descriptor open on it, as a bad sector would. Every other read goes through unchanged. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int IsFailingFile(int fd, const char* name) {
  char link[64];
  char target[4096];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, target, sizeof target - 1);
  if (length <= 0) {
    return 0;
  }
  target[length] = '\0';
  return strcmp(target, name) == 0;
}

ssize_t read(int fd, void* data, size_t count) {
  static ssize_t (*real_read)(int, void*, size_t);
  if (real_read == NULL) {
    real_read = (ssize_t(*)(int, void*, size_t))dlsym(RTLD_NEXT, "read");
  }
  const char* name = getenv("HEXTANT_FAIL_READS_OF");
  if (name == NULL || !IsFailingFile(fd, name)) {
    return real_read(fd, data, count);
  }
  const char* after_text = getenv("HEXTANT_FAIL_AFTER");
  const long long after = after_text != NULL ? atoll(after_text) : 0;
  const long long at = (long long)lseek(fd, 0, SEEK_CUR);
  if (at >= after) {
    errno = EIO;
    return -1;
  }
  if ((long long)count > after - at) {
    count = (size_t)(after - at);
  }
  return real_read(fd, data, count);
}
