// The inputs one ordinary call works with, read once at the start of the call, and the
// request identity (fetch key) built from them.
#pragma once

#include <string>

#include "host/study_host.h"
#include "calendar/expiry_selection.h"

namespace study {

inline constexpr double kMinRefreshSeconds = 180;
// Origin of the public daily chart service the fear score reads VIX and QQQ closes from.
inline constexpr const char* kChartServiceOrigin = "https://query1.finance.yahoo.com";

struct CallInputs {
  bool verbose = false;
  int requestedSymbolIndex = 0;
  double refreshInterval = kMinRefreshSeconds;  // at least 180 s
  bool lockedMode = true;                       // "Snapshot mode" is "Locked at open"
  bool extended = false;
  std::string basisToken;  // "signed_flow", "settlement_oi" or "estimated_oi"
  int esSourceIndex = 0;   // 1 asks for the SPX-derived ES map
  bool fearScore = true;
  int topStrikesCount = 10;
  bool modelZeroGammaAsFlip = false;
  double scaleGuardLimit = 2;
  bool structuralAlerts = false;
  int alertCooldown = 300;
  std::string levelsOrigin;  // "API base URL", without a trailing '/'
  calendar::ExpirySelection selection;
};

// Reads the call's inputs; `newYorkToday` feeds the expiry selection. A blank "API base URL"
// falls back to the default levels origin.
CallInputs ReadCallInputs(const host::StudyHost& sc, const std::string& newYorkToday);

// "symbol|basis|esSource|locked|extended|expiryKey".
std::string FetchKey(const std::string& apiSymbol, const CallInputs& in);

}  // namespace study
