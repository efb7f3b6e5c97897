// Reading the sample answers the benchmarks run on.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace bench {

// The bytes of data/answers/`name`; empty when the file cannot be read.
inline std::string ReadSampleAnswer(const std::string& name) {
  std::ifstream in(std::string(ORDINEL_DATA) + "/answers/" + name, std::ios::binary);
  std::ostringstream body;
  body << in.rdbuf();
  return body.str();
}

}  // namespace bench
