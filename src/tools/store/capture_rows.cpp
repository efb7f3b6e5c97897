#include "store/capture_rows.h"

#include <cmath>

#include "calendar/new_york_calendar.h"
#include "text/fail.h"

namespace store {
namespace {

// The key levels in column order.
std::optional<double> KeyLevels::*const kLevelFields[] = {
    &KeyLevels::callWall,  &KeyLevels::putWall, &KeyLevels::gammaFlip,
    &KeyLevels::volTrigger, &KeyLevels::maxPain, &KeyLevels::zeroGamma,
    &KeyLevels::zeroDex,   &KeyLevels::callOiWall, &KeyLevels::putOiWall};

}  // namespace

const char* const kSummaryColumns =
    "id, symbol, fetched_at, as_of, session_date, source, engine, conversion_method, "
    "conversion_ratio, scope, selected_expiration, source_snapshot_time, regime, spot, rate, "
    "dividend, call_wall, put_wall, gamma_flip, vol_trigger, max_pain, zero_gamma, zero_dex, "
    "call_oi_wall, put_oi_wall, net_gex, net_dex, chain_digest, contract_count";

const char* const kInsertSummarySql =
    "INSERT INTO capture(symbol, fetched_at, as_of, session_date, source, engine, "
    "conversion_method, conversion_ratio, scope, selected_expiration, source_snapshot_time, "
    "regime, spot, rate, dividend, call_wall, put_wall, gamma_flip, vol_trigger, max_pain, "
    "zero_gamma, zero_dex, call_oi_wall, put_oi_wall, net_gex, net_dex, chain_digest, "
    "contract_count) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, "
    "?16, ?17, ?18, ?19, ?20, ?21, ?22, ?23, ?24, ?25, ?26, ?27, ?28)";

void BindSummary(Statement& insert, const CaptureSummary& c, int64_t contractCount) {
  const Provenance& p = c.provenance;
  insert.Bind(1, c.symbol).Bind(2, c.fetchedAt).Bind(3, c.asOf).Bind(4, c.sessionDate);
  insert.Bind(5, p.source).Bind(6, p.engine).Bind(7, p.conversionMethod).Bind(8, p.conversionRatio);
  insert.Bind(9, p.scope).Bind(10, p.selectedExpiration).Bind(11, p.sourceSnapshotTime).Bind(12, p.regime);
  insert.Bind(13, c.spot).Bind(14, c.rate).Bind(15, c.dividend);
  int index = 16;
  for (const auto field : kLevelFields) insert.Bind(index++, c.levels.*field);
  insert.Bind(25, c.netGex).Bind(26, c.netDex).Bind(27, c.chainDigest).Bind(28, contractCount);
}

CaptureSummary ReadSummary(const Statement& s, int first) {
  CaptureSummary c;
  Provenance& p = c.provenance;
  const auto at = [first](int column) { return first + column; };
  c.id = s.Int(at(0));
  c.symbol = s.Text(at(1));
  c.fetchedAt = s.Int(at(2));
  c.asOf = s.Int(at(3));
  c.sessionDate = s.Text(at(4));
  p.source = s.Text(at(5));
  p.engine = s.Text(at(6));
  p.conversionMethod = s.Text(at(7));
  p.conversionRatio = s.Real(at(8));
  p.scope = s.Text(at(9));
  p.selectedExpiration = s.Text(at(10));
  p.sourceSnapshotTime = s.Text(at(11));
  p.regime = s.Text(at(12));
  c.spot = s.Real(at(13));
  c.rate = s.Real(at(14));
  c.dividend = s.Real(at(15));
  int column = 16;
  for (const auto field : kLevelFields) c.levels.*field = s.OptionalReal(at(column++));
  c.netGex = s.Real(at(25));
  c.netDex = s.Real(at(26));
  c.chainDigest = s.Text(at(27));
  c.contractCount = s.Int(at(28));
  return c;
}

bool CheckSummary(const CaptureSummary& c, std::string* error) {
  if (c.symbol.empty()) return text::Fail(error, "it names no symbol");
  if (c.chainDigest.empty()) return text::Fail(error, "it carries no chain digest");
  if (!calendar::IsValidIsoDate(c.sessionDate)) {
    return text::Fail(error, "its session date '" + c.sessionDate + "' is not a YYYY-MM-DD date");
  }
  bool finite = std::isfinite(c.provenance.conversionRatio) && std::isfinite(c.spot) &&
                std::isfinite(c.rate) && std::isfinite(c.dividend) && std::isfinite(c.netGex) &&
                std::isfinite(c.netDex);
  for (const auto field : kLevelFields) {
    const std::optional<double>& level = c.levels.*field;
    if (level && !std::isfinite(*level)) finite = false;
  }
  return finite || text::Fail(error, "it holds a number that is not finite");
}

}  // namespace store
