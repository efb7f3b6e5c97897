#include "engine/option_chain.h"

namespace engine {

void RowIssues::Add(std::string_view where, std::string_view reason) {
  ++count;
  if (firstFew.size() < kNamed) {
    std::string line(where);
    line += ": ";
    line += reason;
    firstFew.push_back(std::move(line));
  }
}

}  // namespace engine
