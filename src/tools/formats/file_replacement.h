// The files the program writes: each written beside its target and renamed over it once it is
// complete, so that a reader sees the old file or the new one, never a part; several files go
// in place together or not at all; an interrupt waits until no temporary is left.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace formats {

// New contents for one or more files, put in place together. While the object lives, SIGINT,
// SIGTERM and SIGHUP are held back process-wide (a signal that arrives is noted, and taken with
// its old disposition when the last such object goes away), so that Ctrl-C leaves no temporary
// behind. A target that is a symbolic link is written through: the link stays, its target is
// replaced. A new file takes the permission bits and owner of the one it replaces (the owner
// where the system allows). Not copyable.
class FileReplacement {
 public:
  FileReplacement();
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Writes `bytes` to a new file beside `path` (beside the file a symbolic link leads to) and
  // flushes it to disk. False with `*error` naming `path` and the reason: the system's, a
  // symbolic link that leads nowhere or loops. Nothing is replaced before Commit.
  bool Stage(const std::string& path, std::string_view bytes, std::string* error);

  // Renames every staged file over its target, in the order staged. When one rename fails, the
  // targets already replaced get their old contents back (a target that did not exist is
  // removed again) and the result is false with `*error` naming the path that failed.
  // Requires: every Stage call succeeded, and Commit was not called before.
  bool Commit(std::string* error);

 private:
  struct Staged {
    std::string path;       // as given, for messages
    std::string target;     // the file replaced: `path`, or where its symbolic link leads
    std::string temporary;  // the new contents, until renamed
    std::string backup;     // a second name of the old target while later renames may fail
  };
  bool KeepOld(Staged& staged, std::string* error);
  void PutBack(size_t placed);

  std::vector<Staged> staged_;
};

// Replaces `path` with `bytes` through a FileReplacement of one file: `path` holds either what
// it held before or all of `bytes`. False with `*error` naming `path` and the reason.
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error);

}  // namespace formats
