#include "formats/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#undef ReplaceFile  // the Windows API's macro, not this file's function
#endif

#include <atomic>
#include <cerrno>
#include <cstring>

#include "text/fail.h"
#include "text/format.h"

namespace formats {
namespace {

constexpr size_t kReadChunk = 65536;
constexpr int kTemporaryNameTries = 16;

#ifdef _WIN32
// Binary, so that bytes land as given; not inherited by programs this one starts.
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_BINARY | O_NOINHERIT;

constexpr int kReadFlags = O_RDONLY | O_BINARY | O_NOINHERIT;

int FlushToDisk(int fd) { return _commit(fd); }

// Windows has no FIFO to wait on at open.
bool ClearNonBlocking(int) { return true; }

// Windows' rename refuses an existing target; MoveFileEx replaces it.
bool MoveOver(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  const DWORD code = GetLastError();
  errno = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
  return false;
}
#else
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;

// Without O_NONBLOCK, opening a FIFO waits for a writer before the file's kind can be checked.
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

int FlushToDisk(int fd) { return fsync(fd); }

bool ClearNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

bool MoveOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
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

// A name beside `path` that no other writer uses, created empty and open for writing; -1 when
// none could be made (errno says why).
int CreateTemporaryBeside(const std::string& path, std::string* name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    *name = text::Format("%s.%d-%u.tmp", path, static_cast<long long>(getpid()), counter.fetch_add(1));
    const int fd = open(name->c_str(), kCreateFlags, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

std::string SizeText(size_t bytes) {
  if (bytes >= (size_t{1} << 20) && bytes % (size_t{1} << 20) == 0) return text::Format("%zu MiB", bytes >> 20);
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

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error) {
  std::string temporary;
  const int fd = CreateTemporaryBeside(path, &temporary);
  if (fd < 0) return text::Fail(error, "cannot write '" + path + "': " + SystemReason(errno));
  bool ok = WriteAll(fd, bytes) && FlushToDisk(fd) == 0;
  int reason = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    reason = errno;
  }
  if (ok && MoveOver(temporary, path)) return true;
  if (ok) reason = errno;
  unlink(temporary.c_str());
  return text::Fail(error, "cannot write '" + path + "': " + SystemReason(reason));
}

}  // namespace formats
