// One capture of an option chain as the live service keeps it: the summary that history rows
// and levels are read from, the chain's parsed contracts and its exposures by strike and
// expiration, enough to compute any expiry selection or the locked map again later.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/option_chain.h"

namespace store {

// The key levels in the underlying's units; empty where the engine found none.
struct KeyLevels {
  std::optional<double> callWall, putWall, gammaFlip, volTrigger, maxPain;
  std::optional<double> zeroGamma, zeroDex, callOiWall, putOiWall;
};

// How the capture's levels were made, in the texts the levels answer gives them.
struct Provenance {
  std::string source;              // "QQQ"
  std::string engine;              // the engine's name
  std::string conversionMethod;    // "none", "ratio"
  double conversionRatio = 1;      // to the configured future at capture time; 1 without one
  std::string scope;               // "all_expirations", "selected_expirations"
  std::string selectedExpiration;  // the one expiration used, else empty
  std::string sourceSnapshotTime;  // the chain's time as the answer writes it
  std::string regime;              // "positive_gamma", "negative_gamma"
};

struct CaptureSummary {
  int64_t id = 0;           // given by the store when the capture is appended
  std::string symbol;       // the chain's underlying, "QQQ"
  int64_t fetchedAt = 0;    // seconds since 1970 UTC when the chain arrived
  int64_t asOf = 0;         // the chain's own time, else fetchedAt
  std::string sessionDate;  // New York date of asOf, "YYYY-MM-DD"
  Provenance provenance;
  double spot = 0, rate = 0, dividend = 0;
  KeyLevels levels;
  double netGex = 0, netDex = 0;
  std::string chainDigest;    // ChainDigest of the chain captured
  int64_t contractCount = 0;  // set by the store from the contracts appended
};

// Net exposures of one strike and expiration, as the engine sums them.
struct StrikeExposure {
  double strike = 0;
  std::string expiration;                       // "YYYY-MM-DD"
  double gex = 0, dex = 0, vex = 0, charm = 0;  // vex: vanna exposure
};

struct CaptureRecord {
  CaptureSummary summary;
  std::vector<engine::OptionContract> contracts;
  std::vector<StrikeExposure> exposures;
};

// The exposures of one capture of a day, for a strike-by-time picture.
struct CaptureExposures {
  int64_t id = 0;
  int64_t asOf = 0;
  std::vector<StrikeExposure> exposures;
};

}  // namespace store
