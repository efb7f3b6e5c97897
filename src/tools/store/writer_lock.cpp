// Why a sidecar file with flock(), and not a lock on the database file itself: SQLite takes
// POSIX record locks (fcntl) on the database file, and those belong to the process, so closing
// any other descriptor of that file would silently drop SQLite's own locks. flock() locks are a
// separate kind that SQLite never touches, belong to this descriptor alone (so a second opener
// in the same process is refused too), and vanish when the process dies in any way. SQLite's
// own locking cannot serve: in WAL mode it lets a second connection write in turn, which is what
// this rule exists to refuse.
#include "store/writer_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "text/fail.h"

namespace store {

WriterLock::~WriterLock() {
  if (fd_ >= 0) close(fd_);
}

bool WriterLock::Acquire(const std::string& storePath, std::string* error) {
  const std::string path = storePath + ".lock";
  // A lock file removed by a refused opener between our open and our lock is locked in vain;
  // the check after locking sees it and tries again with the file now at the path.
  for (int attempt = 0; attempt < 3; ++attempt) {
    bool created = true;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) {
      created = false;
      fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    }
    if (fd < 0) {
      return text::Fail(error, "cannot open its lock file " + path + ": " + std::strerror(errno));
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int why = errno;
      close(fd);
      if (why == EWOULDBLOCK) {
        return text::Fail(error, "another process already writes to it (it holds " + path + ")");
      }
      return text::Fail(error, "cannot lock " + path + ": " + std::strerror(why));
    }
    struct stat held {
    }, named{};
    if (fstat(fd, &held) == 0 && stat(path.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
        held.st_dev == named.st_dev) {
      fd_ = fd;
      path_ = path;
      created_ = created;
      return true;
    }
    close(fd);
  }
  return text::Fail(error, "cannot lock " + path + ": it keeps being replaced");
}

void WriterLock::Abandon() {
  if (fd_ < 0) return;
  // Removed while still held, so that no other opener can have locked the file being removed.
  if (created_) unlink(path_.c_str());
  close(fd_);
  fd_ = -1;
}

}  // namespace store
