#include "engine/chain_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine/chain_csv.h"
#include "engine/chain_json.h"

namespace engine {

bool ReadChainText(std::string_view text, OptionChain* chain, std::string* error) {
  size_t first = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") first = 3;
  while (first < text.size() && (text[first] == ' ' || text[first] == '\t' ||
                                 text[first] == '\r' || text[first] == '\n')) {
    ++first;
  }
  if (first < text.size() && text[first] == '{') return ReadExchangeJsonChain(text, chain, error);
  *chain = OptionChain{};
  return ReadCsvChain(text, chain, error);
}

bool ReadChainFile(const std::string& path, OptionChain* chain, std::string* error) {
  const bool fromStdin = path == "-";
  std::FILE* file = fromStdin ? stdin : std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  std::string body;
  char buffer[65536];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) body.append(buffer, got);
  const bool readFailed = std::ferror(file) != 0;
  if (!fromStdin) std::fclose(file);
  if (readFailed) {
    *error = "cannot read " + path;
    return false;
  }
  if (!ReadChainText(body, chain, error)) {
    *error = path + ": " + *error;
    return false;
  }
  return true;
}

}  // namespace engine
