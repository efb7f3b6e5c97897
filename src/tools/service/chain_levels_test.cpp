#include "service/chain_levels.h"

#include <gtest/gtest.h>

#include "engine/chain_reader.h"
#include "json/json_test_support.h"
#include "payload/levels_response.h"
#include "platform/posix/posix_services.h"

namespace service {
namespace {

ChainLevels SampleChain(engine::FuturesMapping::Source source) {
  ChainLevels levels;
  std::string error;
  EXPECT_TRUE(engine::ReadChainFile(std::string(ORDINEL_SOURCE_DATA_DIR) + "/../chains/qqq_chain.json",
                                    &levels.chain, &error))
      << error;
  levels.settings.mapping.source = source;
  levels.settings.mapping.ratio = 41.25;
  levels.services = &platform::DefaultServices();
  return levels;
}

FixtureRequest LevelsRequest(const std::string& symbol, QueryParams tail = {}) {
  FixtureRequest request{"POST", std::string(kLevelsPath), {{"symbol", symbol}}};
  request.params.insert(request.params.end(), tail.begin(), tail.end());
  return request;
}

// Which symbols a chain serves, and what the study makes of the answers.
TEST(ChainLevels, ServesTheUnderlyingAndItsMappedFuture) {
  const ChainLevels unmapped = SampleChain(engine::FuturesMapping::Source::kNone);
  const ChainLevels mapped = SampleChain(engine::FuturesMapping::Source::kRatio);
  const struct {
    const char* name;
    const ChainLevels* levels;
    FixtureRequest request;
    const char* error;  // the failure envelope's error; empty: a levels answer
    double callWall;
  } cases[] = {
      {"underlying", &unmapped, LevelsRequest("QQQ"), "", 530},
      {"future with a ratio", &mapped, LevelsRequest("NQ"), "", 530 * 41.25},
      {"future without a mapping", &unmapped, LevelsRequest("NQ"), "symbol_not_supported", 0},
      {"another symbol", &mapped, LevelsRequest("ES"), "symbol_not_supported", 0},
      {"bad expiry tail", &mapped, LevelsRequest("NQ", {{"expiry_mode", "weekly"}}),
       "invalid_expiry_selection", 0},
      {"a date the chain lacks", &mapped,
       LevelsRequest("NQ", {{"expiry_mode", "specific"}, {"expiry", "2031-01-17"}}), "engine_failed", 0},
  };
  for (const auto& c : cases) {
    const FixtureAnswer answer = AnswerChainLevels(*c.levels, c.request);
    EXPECT_EQ(answer.status, 200) << c.name;
    const json::testing::ParsedJson root(answer.body);
    EXPECT_EQ(json::MemberAsText(root, "error"), c.error) << c.name;
    payload::LevelsSnapshot snapshot;
    std::string status;
    const bool ok = payload::ParseLevelsResponse(root, 10, &snapshot, &status);
    EXPECT_EQ(ok, std::string(c.error).empty()) << c.name << ": " << status;
    if (ok) {
      EXPECT_NEAR(snapshot.callWall.value, c.callWall, 1e-6) << c.name;
    }
  }
}

}  // namespace
}  // namespace service
