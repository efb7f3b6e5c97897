#include "engine/chain_reader.h"

#include <cstdio>

#include "engine/chain_csv.h"
#include "engine/chain_json.h"
#include "formats/file_io.h"
#include "text/fail.h"

namespace engine {
namespace {

// The bytes of the chain at `path` ("-": standard input), at most formats::kMaxChainBytes.
bool ReadChainBytes(const std::string& path, std::string* body, std::string* error) {
  std::string why;
  if (path == "-") {
    return formats::ReadStreamWithin(stdin, formats::kMaxChainBytes, body, &why) ||
           text::Fail(error, "cannot read standard input: " + why);
  }
  std::FILE* file = formats::OpenRegularFile(path, &why);
  if (!file) return text::Fail(error, "cannot open " + path + ": " + why);
  const bool read = formats::ReadStreamWithin(file, formats::kMaxChainBytes, body, &why);
  std::fclose(file);
  return read || text::Fail(error, "cannot read " + path + ": " + why);
}

}  // namespace

bool ReadChainText(std::string_view text, OptionChain* chain, std::string* error) {
  // A byte-order mark is no part of either form (the CSV records pass over it themselves).
  const std::string_view body = text.substr(text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0);
  const size_t first = body.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos && body[first] == '{') {
    return ReadExchangeJsonChain(body, chain, error);
  }
  *chain = OptionChain{};
  return ReadCsvChain(text, chain, error);
}

bool ReadChainFile(const std::string& path, OptionChain* chain, std::string* error) {
  std::string body;
  if (!ReadChainBytes(path, &body, error)) return false;
  if (!ReadChainText(body, chain, error)) return text::Fail(error, path + ": " + *error);
  return true;
}

}  // namespace engine
