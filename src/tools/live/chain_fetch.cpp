#include "live/chain_fetch.h"

#include <sys/stat.h>

#include <cstdio>

#include "formats/file_io.h"
#include "live/command_run.h"
#include "live/http_fetch.h"

namespace live {
namespace {

FileStamp StampOf(const struct stat& status) {
  return FileStamp{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
                   static_cast<int64_t>(status.st_size),
                   static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

// The stamp is taken from the open file, so a file replaced between the look and the read is
// read with the stamp of what was read.
FetchStatus ReadChainFile(const std::string& path, const std::optional<FileStamp>& lastStamp, ChainBytes* out,
                          std::string* error) {
  std::string why;
  std::FILE* file = formats::OpenRegularFile(path, &why);
  if (file == nullptr) {
    *error = path + ": " + why;
    return FetchStatus::kFailed;
  }
  struct stat status;
  FetchStatus result = FetchStatus::kFetched;
  if (fstat(fileno(file), &status) != 0) {
    *error = path + ": cannot look at it";
    result = FetchStatus::kFailed;
  } else {
    out->stamp = StampOf(status);
    if (out->stamp == lastStamp) {
      result = FetchStatus::kUnchanged;
    } else if (!formats::ReadStreamWithin(file, formats::kMaxChainBytes, &out->bytes, &why)) {
      *error = path + ": " + why;
      result = FetchStatus::kFailed;
    }
  }
  std::fclose(file);
  return result;
}

}  // namespace

FetchStatus FetchChain(const SymbolConfig& symbol, const std::string& configDir,
                       const std::optional<FileStamp>& lastStamp, const StopSignal& stop, ChainBytes* out,
                       std::string* error) {
  switch (symbol.chain.kind) {
    case ChainSource::Kind::kFile: return ReadChainFile(symbol.chain.path, lastStamp, out, error);
    case ChainSource::Kind::kCommand: {
      const CommandRequest request{symbol.chain.command, configDir,
                                   static_cast<double>(symbol.timeoutSeconds), formats::kMaxChainBytes};
      CommandOutput printed;
      const FetchStatus status = RunCommand(request, stop, &printed, error);
      out->bytes = std::move(printed.output);
      out->errorText = std::move(printed.errorText);
      out->errorCut = printed.errorCut;
      return status;
    }
    case ChainSource::Kind::kUrl: break;
  }
  const HttpFetchRequest request{symbol.chain.url, symbol.headers, static_cast<double>(symbol.timeoutSeconds),
                                 formats::kMaxChainBytes};
  return HttpFetch(request, stop, &out->bytes, error);
}

}  // namespace live
