/* LD_PRELOAD shim for the command-line tests that need a fault at a known moment:
 * - read() of the file whose full path is in HEXTANT_FAIL_READS_OF fails with EIO at and past its
 *   byte HEXTANT_FAIL_AFTER, on every descriptor open on it, as a bad sector would;
 * - with HEXTANT_PAUSE_MARKER set, the first write() to a file whose name ends in ".part" (a
 *   staging file) creates that marker file and then sleeps, so that a test can interrupt the
 *   program in the middle of writing a model.
 * Every other call goes through unchanged. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <fcntl.h>

/* The path of the file open on `fd` into `target`; 0 when there is none. */
static int PathOf(int fd, char* target, size_t size) {
  char link[64];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, target, size - 1);
  if (length <= 0) {
    return 0;
  }
  target[length] = '\0';
  return 1;
}

static int IsFailingFile(int fd, const char* name) {
  char target[4096];
  return PathOf(fd, target, sizeof target) && strcmp(target, name) == 0;
}

ssize_t write(int fd, const void* data, size_t count) {
  static ssize_t (*real_write)(int, const void*, size_t);
  if (real_write == NULL) {
    real_write = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  }
  const char* marker = getenv("HEXTANT_PAUSE_MARKER");
  char target[4096];
  if (marker != NULL && PathOf(fd, target, sizeof target)) {
    const size_t length = strlen(target);
    if (length > 5 && strcmp(target + length - 5, ".part") == 0) {
      close(open(marker, O_WRONLY | O_CREAT, 0644));
      for (int second = 0; second < 60; ++second) {
        sleep(1);
      }
    }
  }
  return real_write(fd, data, count);
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
