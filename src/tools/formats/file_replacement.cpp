#include "formats/file_replacement.h"

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
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <mutex>

#include "text/fail.h"
#include "text/format.h"

namespace formats {
namespace {

constexpr int kTemporaryNameTries = 16;

#ifdef _WIN32
// Binary, so that bytes land as given; not inherited by programs this one starts.
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_BINARY | O_NOINHERIT;

int FlushToDisk(int fd) { return _commit(fd); }

// Windows' rename refuses an existing target; MoveFileEx replaces it.
bool MoveOver(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  const DWORD code = GetLastError();
  errno = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
  return false;
}

bool HardLink(const std::string& from, const std::string& to) {
  if (CreateHardLinkA(to.c_str(), from.c_str(), nullptr)) return true;
  const DWORD code = GetLastError();
  errno = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? ENOENT
          : code == ERROR_ALREADY_EXISTS                               ? EEXIST
                                                                       : EPERM;
  return false;
}

// The program writes through no links on Windows, and its files keep the folder's rights.
bool ResolveTarget(const std::string& path, std::string* target, std::string*) {
  *target = path;
  return true;
}
void TakeOwnerAndMode(int, const std::string&) {}

// The console's Ctrl-C is not held back on Windows, where the program writes no pictures.
void HoldStopSignals() {}
void ReleaseStopSignals() {}
#else
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;

int FlushToDisk(int fd) { return fsync(fd); }

bool MoveOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool HardLink(const std::string& from, const std::string& to) { return link(from.c_str(), to.c_str()) == 0; }

// `path`, or the file its symbolic links lead to; false with `*why` when they lead nowhere.
bool ResolveTarget(const std::string& path, std::string* target, std::string* why) {
  struct stat status;
  if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
    *target = path;
    return true;
  }
  if (char* resolved = realpath(path.c_str(), nullptr)) {
    *target = resolved;
    std::free(resolved);
    return true;
  }
  const int reason = errno;
  std::error_code ignored;
  const std::string leads = std::filesystem::read_symlink(path, ignored).string();
  if (reason == ELOOP) return text::Fail(why, "its symbolic links form a loop");
  if (reason == ENOENT)
    return text::Fail(why, "it is a symbolic link to '" + leads + "', which does not exist");
  return text::Fail(why, std::strerror(reason));
}

// Gives the new file at `fd` the owner (where the system allows) and permission bits of the
// file at `target`, when there is one. The owner comes first: a change of owner clears set-id bits.
void TakeOwnerAndMode(int fd, const std::string& target) {
  struct stat old;
  if (stat(target.c_str(), &old) != 0) return;
  if (fchown(fd, old.st_uid, old.st_gid) != 0 && fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    // Not this user's to give away: the file stays this user's.
  }
  if (fchmod(fd, old.st_mode & 07777) != 0) {
    // A file system without modes keeps its own.
  }
}

constexpr int kHeldSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Process-wide, so that a signal taken by any thread waits.
std::mutex heldMutex;
int heldDepth = 0;
struct sigaction heldBefore[std::size(kHeldSignals)];
volatile std::sig_atomic_t heldArrived = 0;

extern "C" void NoteHeldSignal(int signal) { heldArrived = signal; }

void HoldStopSignals() {
  const std::lock_guard<std::mutex> lock(heldMutex);
  if (heldDepth++ > 0) return;
  heldArrived = 0;
  struct sigaction note = {};
  note.sa_handler = NoteHeldSignal;
  note.sa_flags = SA_RESTART;
  sigemptyset(&note.sa_mask);
  for (size_t i = 0; i < std::size(kHeldSignals); ++i) sigaction(kHeldSignals[i], &note, &heldBefore[i]);
}

// The last holder puts the dispositions back and raises the signal that arrived meanwhile.
void ReleaseStopSignals() {
  int arrived = 0;
  {
    const std::lock_guard<std::mutex> lock(heldMutex);
    if (--heldDepth > 0) return;
    for (size_t i = 0; i < std::size(kHeldSignals); ++i) sigaction(kHeldSignals[i], &heldBefore[i], nullptr);
    arrived = heldArrived;
    heldArrived = 0;
  }
  if (arrived != 0) std::raise(arrived);
}
#endif

std::string SystemReason(int code) { return std::strerror(code != 0 ? code : EIO); }

// A name beside `path` that no other writer uses.
std::string NameBeside(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return text::Format("%s.%d-%u.tmp", path, static_cast<long long>(getpid()), counter.fetch_add(1));
}

// A new empty file beside `path`, open for writing; -1 when none could be made (errno says why).
int CreateTemporaryBeside(const std::string& path, std::string* name) {
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    *name = NameBeside(path);
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

FileReplacement::FileReplacement() { HoldStopSignals(); }

FileReplacement::~FileReplacement() {
  for (const Staged& staged : staged_) {
    if (!staged.temporary.empty()) unlink(staged.temporary.c_str());
  }
  ReleaseStopSignals();
}

bool FileReplacement::Stage(const std::string& path, std::string_view bytes, std::string* error) {
  Staged staged{path, "", "", ""};
  std::string why;
  if (!ResolveTarget(path, &staged.target, &why))
    return text::Fail(error, "cannot write '" + path + "': " + why);
  const int fd = CreateTemporaryBeside(staged.target, &staged.temporary);
  if (fd < 0) return text::Fail(error, "cannot write '" + path + "': " + SystemReason(errno));
  staged_.push_back(staged);
  TakeOwnerAndMode(fd, staged.target);
  bool ok = WriteAll(fd, bytes) && FlushToDisk(fd) == 0;
  int reason = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    reason = errno;
  }
  if (ok) return true;
  return text::Fail(error, "cannot write '" + path + "': " + SystemReason(reason));
}

bool FileReplacement::KeepOld(Staged& staged, std::string* error) {
  struct stat status;
  // Nothing there to keep, or nothing a rename replaces (a directory): the rename will say so.
  if (stat(staged.target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return true;
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    const std::string name = NameBeside(staged.target);
    if (HardLink(staged.target, name)) {
      staged.backup = name;
      return true;
    }
    if (errno == EEXIST) continue;
    // A file system without hard links: the old file moves aside until the new one is in place.
    if (MoveOver(staged.target, name)) {
      staged.backup = name;
      return true;
    }
    break;
  }
  return text::Fail(error,
                    "cannot write '" + staged.path + "': cannot keep the old file: " + SystemReason(errno));
}

void FileReplacement::PutBack(size_t count) {
  for (size_t i = 0; i < count && i < staged_.size(); ++i) {
    Staged& staged = staged_[i];
    if (!staged.backup.empty()) {
      // Should this fail, the backup stays: it is the only copy of the old contents.
      if (MoveOver(staged.backup, staged.target)) staged.backup.clear();
    } else if (staged.temporary.empty()) {
      unlink(staged.target.c_str());  // placed where no file was
    }
  }
}

bool FileReplacement::Commit(std::string* error) {
  for (size_t i = 0; i < staged_.size(); ++i) {
    Staged& staged = staged_[i];
    // The last rename needs no way back: nothing after it can fail.
    const bool laterFollow = i + 1 < staged_.size();
    if (laterFollow && !KeepOld(staged, error)) {
      PutBack(i);
      return false;
    }
    if (!MoveOver(staged.temporary, staged.target)) {
      const int reason = errno;
      PutBack(i + 1);
      return text::Fail(error, "cannot write '" + staged.path + "': " + SystemReason(reason));
    }
    staged.temporary.clear();
  }
  for (Staged& staged : staged_) {
    if (!staged.backup.empty()) unlink(staged.backup.c_str());
    staged.backup.clear();
  }
  return true;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error) {
  FileReplacement replacement;
  return replacement.Stage(path, bytes, error) && replacement.Commit(error);
}

}  // namespace formats
