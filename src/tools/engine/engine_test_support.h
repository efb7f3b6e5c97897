// Small chains written out in a test, and the engine run on them with the system's New York zone.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/posix/posix_services.h"

namespace engine {

struct Row {
  const char* expiration;
  double strike;
  bool call;
  double openInterest;
  double sigma;
};

inline OptionChain ChainOf(const std::vector<Row>& rows, double spot, const std::string& asOf) {
  OptionChain chain;
  chain.underlying = "TEST";
  chain.hasSpot = true;
  chain.spot = spot;
  chain.asOfText = asOf;
  for (const Row& r : rows) {
    chain.contracts.push_back(
        {r.expiration, r.strike, r.call ? OptionKind::kCall : OptionKind::kPut, r.openInterest, r.sigma, 0});
  }
  return chain;
}

// Runs the engine; a failure fails the test and returns an empty answer.
inline EngineAnswer RunOn(const OptionChain& chain, EngineSettings settings = {}) {
  EngineAnswer answer;
  std::string error;
  EXPECT_TRUE(RunEngine(chain, settings, platform::DefaultServices(), &answer, &error)) << error;
  return answer;
}

}  // namespace engine
