// The one-writer rule of a store file: an exclusive lock that a second process opening the same
// store for writing cannot take, released by the system when the holder ends, even by kill -9.
#pragma once

#include <string>

namespace store {

class WriterLock {
 public:
  WriterLock() = default;
  // Releases the lock.
  ~WriterLock();
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;

  // Takes the lock of the store at `storePath` ("<storePath>.lock", created when missing) without
  // waiting. False with a message when another process (or another opener in this one) holds it,
  // or the lock file cannot be made or opened.
  bool Acquire(const std::string& storePath, std::string* error);

  // Releases the lock and removes the lock file when Acquire created it, so that a refused open
  // leaves nothing beside the file it refused.
  void Abandon();

 private:
  int fd_ = -1;
  std::string path_;
  bool created_ = false;
};

}  // namespace store
