#include "formats/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#endif

#include <cerrno>
#include <cstring>

#include "text/fail.h"
#include "text/format.h"

namespace formats {
namespace {

constexpr size_t kReadChunk = 65536;

#ifdef _WIN32
constexpr int kReadFlags = O_RDONLY | O_BINARY | O_NOINHERIT;

// Windows has no FIFO to wait on at open.
bool ClearNonBlocking(int) { return true; }
#else
// Without O_NONBLOCK, opening a FIFO waits for a writer before the file's kind can be checked.
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

bool ClearNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}
#endif

std::string SystemReason(int code) { return std::strerror(code != 0 ? code : EIO); }

// What a file that is not a regular one is, as a refusal names it.
const char* KindOf(unsigned mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return "a special file";
}

// Closes `fd` after a failure; null with `*error` holding the failure's reason.
std::FILE* CloseRefusing(int fd, std::string reason, std::string* error) {
  close(fd);
  *error = std::move(reason);
  return nullptr;
}

}  // namespace

std::string SizeText(size_t bytes) {
  if (bytes >= (size_t{1} << 20) && bytes % (size_t{1} << 20) == 0)
    return text::Format("%zu MiB", bytes >> 20);
  if (bytes >= 1024 && bytes % 1024 == 0) return text::Format("%zu KiB", bytes >> 10);
  return text::Format("%zu bytes", bytes);
}

bool ReadStreamWithin(std::FILE* stream, size_t limit, std::string* out, std::string* error) {
  std::string bytes;
  char buffer[kReadChunk];
  errno = 0;
  for (;;) {
    // One byte beyond the limit tells a file that is too large from one that fits exactly.
    const size_t room = limit + 1 - bytes.size();
    const size_t got = std::fread(buffer, 1, room < sizeof buffer ? room : sizeof buffer, stream);
    bytes.append(buffer, got);
    if (bytes.size() > limit) return text::Fail(error, "larger than " + SizeText(limit));
    if (got == 0) break;
  }
  if (std::ferror(stream)) return text::Fail(error, SystemReason(errno));
  *out = std::move(bytes);
  return true;
}

std::FILE* OpenRegularFile(const std::string& path, std::string* error) {
  const int fd = open(path.c_str(), kReadFlags);
  if (fd < 0) {
    *error = SystemReason(errno);
    return nullptr;
  }
  struct stat status;
  if (fstat(fd, &status) != 0) return CloseRefusing(fd, SystemReason(errno), error);
  if (!S_ISREG(status.st_mode)) {
    return CloseRefusing(fd, std::string("not a regular file (") + KindOf(status.st_mode) + ")", error);
  }
  if (!ClearNonBlocking(fd)) return CloseRefusing(fd, SystemReason(errno), error);
  std::FILE* file = fdopen(fd, "rb");
  if (!file) return CloseRefusing(fd, SystemReason(errno), error);
  return file;
}

bool ReadFileWithin(const std::string& path, size_t limit, std::string* out, std::string* error) {
  std::FILE* file = OpenRegularFile(path, error);
  if (!file) return false;
  const bool read = ReadStreamWithin(file, limit, out, error);
  std::fclose(file);
  return read;
}

}  // namespace formats
