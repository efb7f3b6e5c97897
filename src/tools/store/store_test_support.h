// Captures and store files for the store's tests: a fresh path per test in the test's temporary
// folder, small hand-made captures, and a full capture computed by the engine.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/engine.h"
#include "engine/expiry_exposures.h"
#include "engine/synthetic_chain.h"
#include "platform/posix/posix_services.h"
#include "store/chain_digest.h"
#include "store/sqlite_capture_store.h"

namespace store {

// A path no earlier run left anything at (the file, its WAL, shared memory and lock file).
inline std::string FreshStorePath(const std::string& name) {
  const std::string path = testing::TempDir() + "/store_" + std::to_string(getpid()) + "_" + name + ".sqlite";
  for (const char* suffix : {"", "-wal", "-shm", "-journal", ".lock"}) std::filesystem::remove(path + suffix);
  return path;
}

// A small capture of `symbol` as of `asOf` with two contracts and two exposures; `tag` makes
// its numbers and digest its own.
inline CaptureRecord SmallCapture(const std::string& symbol, int64_t asOf, const std::string& sessionDate,
                                  double tag) {
  CaptureRecord r;
  CaptureSummary& s = r.summary;
  s.symbol = symbol;
  s.fetchedAt = asOf + 3;
  s.asOf = asOf;
  s.sessionDate = sessionDate;
  s.provenance = {symbol,
                  "ordinel-engine",
                  "ratio",
                  41.25,
                  "all_expirations",
                  "",
                  "2025-01-02T15:42:10Z",
                  tag >= 0 ? "positive_gamma" : "negative_gamma"};
  s.spot = 500 + tag;
  s.rate = 0.045;
  s.dividend = 0.006;
  s.levels.callWall = 510 + tag;
  s.levels.putWall = 490 + tag;
  s.levels.gammaFlip = 501.37 + tag;
  s.netGex = 1.5e9 * tag;
  s.netDex = -2.25e10;
  r.contracts = {{"2025-01-17", 500 + tag, engine::OptionKind::kCall, 1200, 0.1423, 35},
                 {"2025-02-21", 495.5, engine::OptionKind::kPut, 800, 0.171, 0}};
  r.exposures = {{500 + tag, "2025-01-17", 1.25e7 * tag, 3.5e8, -1.1e6, 2.2e5},
                 {495.5, "2025-02-21", -7.5e6, -1.2e8, 4.4e5, -1.3e4}};
  s.chainDigest = ChainDigest(std::to_string(asOf), r.contracts);
  return r;
}

// The capture the live service would keep of `chain`, computed by the engine.
inline CaptureRecord EngineCapture(const engine::OptionChain& chain, int64_t fetchedAt) {
  engine::EngineAnswer a;
  std::string error;
  EXPECT_TRUE(engine::RunEngine(chain, {}, platform::DefaultServices(), &a, &error)) << error;
  CaptureRecord r;
  CaptureSummary& s = r.summary;
  s.symbol = a.resolvedSymbol;
  s.fetchedAt = fetchedAt;
  s.asOf = static_cast<int64_t>(a.asOfSeconds);
  s.sessionDate = a.sessionDate;
  s.provenance = {a.resolvedSymbol,
                  "ordinel-engine",
                  "none",
                  a.ratio,
                  "all_expirations",
                  "",
                  "2025-01-02T15:42:10Z",
                  a.levels.netGex >= 0 ? "positive_gamma" : "negative_gamma"};
  s.spot = a.priced.market.spot;
  s.rate = a.priced.market.rate;
  s.dividend = a.priced.market.dividend;
  const auto level = [](const engine::Level& l) {
    return l.has ? std::optional<double>(l.value) : std::nullopt;
  };
  const engine::Levels& l = a.levels;
  s.levels = {level(l.callWall),   level(l.putWall),    level(l.gammaFlip),
              level(l.volTrigger), level(l.maxPain),    level(l.zeroGamma),
              level(l.zeroDex),    level(l.callOiWall), level(l.putOiWall)};
  s.netGex = l.netGex;
  s.netDex = l.netDex;
  s.chainDigest = ChainDigest(chain.asOfText, chain.contracts);
  r.contracts = chain.contracts;
  for (const engine::ExpiryExposure& e : engine::ExposuresByStrikeAndExpiry(a.priced)) {
    r.exposures.push_back({e.strike, a.priced.expirations[e.expiry], e.gex, e.dex, e.vanna, e.charm});
  }
  return r;
}

// Opens the store at `path` with default options; a failure fails the test and gives null.
inline std::unique_ptr<CaptureStore> OpenOrFail(const std::string& path, SqliteStoreOptions options = {}) {
  std::string error;
  std::unique_ptr<CaptureStore> s = OpenSqliteStore(path, std::move(options), &error);
  EXPECT_NE(s, nullptr) << error;
  return s;
}

// Appends `r`; a failure fails the test and gives 0.
inline int64_t AppendOrFail(CaptureStore& s, const CaptureRecord& r) {
  int64_t id = 0;
  std::string error;
  EXPECT_TRUE(s.Append(r, &id, &error)) << error;
  return id;
}

}  // namespace store
