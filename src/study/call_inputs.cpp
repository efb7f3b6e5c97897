#include "study/call_inputs.h"

#include <algorithm>

#include "study/study_inputs.h"

namespace study {
namespace {

std::string BasisToken(int index) {
  if (index == 1) return "settlement_oi";
  if (index == 2) return "estimated_oi";
  return "signed_flow";
}

std::string LevelsOrigin(const host::StudyHost& sc) {
  std::string origin = calendar::TrimBlanks(sc.ReadInputText(kApiBaseUrl));
  while (!origin.empty() && origin.back() == '/') origin.pop_back();
  if (origin.empty()) return kDefaultLevelsOrigin;
  return origin;
}

}  // namespace

CallInputs ReadCallInputs(const host::StudyHost& sc, const std::string& newYorkToday) {
  CallInputs in;
  in.verbose = sc.ReadInputInt(kVerboseLog) != 0;
  in.requestedSymbolIndex = sc.ReadInputInt(kRequestedSymbol);
  in.refreshInterval = std::max<double>(sc.ReadInputInt(kRefreshInterval), kMinRefreshSeconds);
  in.lockedMode = sc.ReadInputInt(kSnapshotMode) == 0;
  in.extended = sc.ReadInputInt(kExtendedLevels) != 0;
  in.basisToken = BasisToken(sc.ReadInputInt(kGexBasis));
  in.esSourceIndex = sc.ReadInputInt(kEsOptionsSource);
  in.fearScore = sc.ReadInputInt(kFearScore) != 0;
  in.topStrikesCount = sc.ReadInputInt(kTopStrikesCount);
  in.modelZeroGammaAsFlip = sc.ReadInputInt(kModelZeroGammaAsFlip) != 0;
  in.scaleGuardLimit = sc.ReadInputFloat(kScaleGuardLimit);
  in.structuralAlerts = sc.ReadInputInt(kStructuralAlerts) != 0;
  in.alertCooldown = sc.ReadInputInt(kAlertCooldown);
  in.levelsOrigin = LevelsOrigin(sc);
  in.selection = calendar::BuildExpirySelection(
      static_cast<uint32_t>(sc.ReadInputInt(kCoreExpirations)), sc.ReadInputText(kCoreMultiSubset),
      sc.ReadInputText(kCoreSpecificExpiration), newYorkToday);
  return in;
}

std::string FetchKey(const std::string& apiSymbol, const CallInputs& in) {
  return apiSymbol + "|" + in.basisToken + "|" + std::to_string(in.esSourceIndex) + "|" +
         (in.lockedMode ? "1" : "0") + "|" + (in.extended ? "1" : "0") + "|" +
         calendar::ExpirySelectionKey(in.selection);
}

}  // namespace study
