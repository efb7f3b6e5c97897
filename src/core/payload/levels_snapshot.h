// LevelsSnapshot: the one plain value record a levels answer is translated into, and the small
// shapes it is made of. Drawing and the panel only read it; ParseLevelsResponse fills it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "payload/strike_table.h"

namespace payload {

// A price or amount that the answer may or may not carry; `value` means nothing unless `has`.
struct OptionalLevel {
  bool has = false;
  double value = 0;

  friend bool operator==(const OptionalLevel&, const OptionalLevel&) = default;
};

// One point of interest; a valid entry always has a non-empty label and short label.
struct FocusLevel {
  bool valid = false;
  double value = 0;
  std::string label;
  std::string shortLabel;
  std::string confidence;

  friend bool operator==(const FocusLevel&, const FocusLevel&) = default;
};

// A price band; zones have low < high and a label, ranges low <= high and no label.
struct ZoneBand {
  bool valid = false;
  double low = 0;
  double high = 0;
  std::string label;

  friend bool operator==(const ZoneBand&, const ZoneBand&) = default;
};

// One row of the gamma profile / top-strike list, after nearby strikes were merged.
struct ProfileRow {
  double price = 0;
  double gex = 0;
  int32_t mergedCount = 1;
  int32_t percent = 0;
  std::string tag;  // "CW", "PW", "Flip", "VT" or empty

  friend bool operator==(const ProfileRow&, const ProfileRow&) = default;
};

// One heatmap cell: the price band a strike owns and its signed share of the map's maximum.
struct HeatCell {
  double low = 0;
  double high = 0;
  double strength = 0;

  friend bool operator==(const HeatCell&, const HeatCell&) = default;
};

// The implied-density band between the 16th and 84th percentile prices.
struct DensityBand {
  bool has = false;
  double p16 = 0;
  double p84 = 0;

  friend bool operator==(const DensityBand&, const DensityBand&) = default;
};

// The uncertainty band around the model zero-gamma price.
struct ZeroGammaBand {
  bool has = false;
  double lower = 0;
  double upper = 0;

  friend bool operator==(const ZeroGammaBand&, const ZeroGammaBand&) = default;
};

constexpr uint32_t kMaxVannaWalls = 8;
constexpr uint32_t kMaxCharmZones = 6;
constexpr uint32_t kMaxVegaWalls = 6;
constexpr uint32_t kMaxDensityLevels = 8;
constexpr uint32_t kMaxExtendersPerSide = 3;
constexpr int kFocusCount = 3;
constexpr int kVwapBandCount = 3;

// Fixed arrays are filled from index 0; entries at or beyond their count stay 0.
struct LevelsSnapshot {
  bool valid = false;
  std::string requestedSymbol;
  std::string resolvedSymbol;
  std::string sourceSnapshotTime;
  std::string conversionNote;
  std::string expirationNote;
  std::string mappingNote;
  bool locked = false;
  double lockedRefreshAfterUnix = 0;  // seconds since 1970-01-01 UTC
  std::string lockedSession;
  std::string focusSummary;
  std::string modelSummary;

  OptionalLevel spot, callWall, putWall, gammaFlip, volTrigger;
  OptionalLevel zeroGammaModel;
  OptionalLevel maxPain, callOiWall, putOiWall, zeroDex;
  std::array<FocusLevel, kFocusCount> focus;
  ZoneBand battleZone, upsideCluster, downsideCluster;
  std::vector<ProfileRow> profileRows;         // highest price first
  StrikeTable gammaExposures, deltaExposures;  // as sent
  OptionalLevel netGex, netDex;
  OptionalLevel volAnchor, emOneSigma;
  double volPremium = 0.25;
  bool emFrozen = false;
  OptionalLevel ndxCallWall, ndxPutWall, ndxGammaFlip;

  std::array<double, kMaxVannaWalls> vannaWallStrike{};
  std::array<double, kMaxVannaWalls> vannaWallIntensity{};
  uint32_t vannaWallCount = 0;
  std::array<ZoneBand, kMaxCharmZones> charmZones;
  uint32_t charmZoneCount = 0;
  std::array<double, kMaxVegaWalls> vegaWallStrike{};
  uint32_t vegaWallCount = 0;

  OptionalLevel vannaFlip, charmFlip;
  OptionalLevel hybridCallWall, hybridPutWall, hybridVolTrigger;
  OptionalLevel ivCallWall, ivPutWall;
  OptionalLevel priorDayHigh, priorDayLow, rthOpen;
  ZoneBand openingRange;
  OptionalLevel priorRthClose, overnightHigh, overnightLow;
  OptionalLevel vwap;
  std::array<OptionalLevel, kVwapBandCount> vwapBandPlus;   // upper lines of bands 1-3
  std::array<OptionalLevel, kVwapBandCount> vwapBandMinus;  // lower lines of bands 1-3
  ZoneBand asiaRange, londonRange, nyAmRange;
  OptionalLevel midnightOpen;
  OptionalLevel atmIv;  // annualised percent

  std::array<double, kMaxExtendersPerSide> callExtenderStrike{};
  uint32_t callExtenderCount = 0;
  std::array<double, kMaxExtendersPerSide> putExtenderStrike{};
  uint32_t putExtenderCount = 0;

  std::vector<HeatCell> gexCells, charmCells, deltaCells, vannaCells, vegaCells;
  std::vector<StrikeValue> profilePoints;  // ascending by strike
  OptionalLevel netCum, callCum, putCum, totalVol;

  std::array<double, kMaxDensityLevels> densityPrice{};
  std::array<double, kMaxDensityLevels> densityTouchPct{};  // percent, as sent
  uint32_t densityCount = 0;
  DensityBand densityBand;
  ZeroGammaBand zeroGammaBand;

  OptionalLevel charmHedgeUsd;
  std::string charmHedgeDirection;
  OptionalLevel vannaHedgeUsdPerVolPoint;
  std::string vannaHedgeDirection;
  OptionalLevel pressureZoneLower, pressureZoneUpper;

  friend bool operator==(const LevelsSnapshot&, const LevelsSnapshot&) = default;
};

// Assigns a default-constructed snapshot, so nothing of an earlier answer survives.
void ResetSnapshot(LevelsSnapshot* snapshot);

}  // namespace payload
