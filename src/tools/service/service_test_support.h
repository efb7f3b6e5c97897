// Test support for the sample service: a scratch data directory with small labelled answers,
// the query of a URL as the catalogue receives it, faults and sample files by name, and the
// headers of a request it recorded.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "service/fixture_catalogue.h"
#include "service/levels_service.h"
#include "text/ascii.h"

namespace service::testing {

// A data directory whose answers say which file they are: {"ok":true,...,"which":"legacy"}.
// Removed when the test program ends.
inline const std::string& LabelledDataDir() {
  struct ScratchDir {
    std::filesystem::path path;
    ScratchDir() {
      path = std::filesystem::temp_directory_path() / ("ordinel_service_test_" + std::to_string(::getpid()));
      std::filesystem::create_directories(path);
      for (const char* which : {"legacy", "locked", "extended"}) {
        Write(std::string(which) + ".json", std::string("{\"ok\":true,\"connected\":true,\"which\":\"") +
                                                which + "\",\"display_levels\":{\"spot\":21500}}");
      }
      Write("vix_chart.json", R"({"chart":{"result":[{"meta":{"regularMarketPrice":17.2}}]}})");
      Write("qqq_chart.json", R"({"which":"qqq"})");
      Write("research_NQ_2025-01-02.json", R"({"which":"research day"})");
      Write("research_NQ.json", R"({"which":"research symbol"})");
      Write("failure_no_ok.json", R"({"ok":true,"connected":false})");
    }
    ~ScratchDir() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
    void Write(const std::string& name, const std::string& bytes) const {
      std::ofstream(path / name, std::ios::binary) << bytes;
    }
  };
  static const ScratchDir dir;
  static const std::string text = dir.path.string();
  return text;
}

// The repository's own sample answers.
inline std::string RepositoryDataDir() { return ORDINEL_SOURCE_DATA_DIR; }

// The pairs of the query after '?' in `target`, split at '&' and '=', not decoded (the study's
// queries need no decoding).
inline QueryParams QueryOf(std::string_view target) {
  QueryParams params;
  const size_t question = target.find('?');
  std::string_view rest = question == target.npos ? "" : target.substr(question + 1);
  while (!rest.empty()) {
    const std::string_view pair = rest.substr(0, rest.find('&'));
    const size_t equals = pair.find('=');
    params.emplace_back(pair.substr(0, equals), equals == pair.npos ? "" : pair.substr(equals + 1));
    rest.remove_prefix(std::min(rest.size(), pair.size() + 1));
  }
  return params;
}

// The catalogue request for `method` and `target` ("/path?query").
inline FixtureRequest RequestOf(std::string method, std::string_view target) {
  return {std::move(method), std::string(target.substr(0, target.find('?'))), QueryOf(target)};
}

// The sample file `name` of `catalogue`; empty, failing the test, when it cannot be read.
inline std::string DataFile(const FixtureCatalogue& catalogue, const char* name) {
  std::string bytes;
  EXPECT_TRUE(ReadDataFile(catalogue, name, &bytes)) << name;
  return bytes;
}

// The value of the first header named `name` (in any ASCII case) that `request` carried; none
// when it carried no such header.
inline std::optional<std::string> HeaderValue(const RecordedRequest& request, std::string_view name) {
  for (const auto& [key, value] : request.headers) {
    if (text::EqualsIgnoringAsciiCase(key, name)) return value;
  }
  return std::nullopt;
}

// Sets the fault written as `text` on `path` of `service`; a text that does not parse fails the test.
inline void SetFault(LevelsService& service, const char* path, const char* text) {
  Fault fault;
  std::string error;
  ASSERT_TRUE(ParseFaultText(text, &fault, &error)) << text << ": " << error;
  service.Faults().Set(path, fault);
}

}  // namespace service::testing
