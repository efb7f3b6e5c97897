#include "store/capture_sql.h"

#include <cmath>

#include "calendar/new_york_calendar.h"
#include "text/fail.h"

namespace store {
namespace {

// The key levels in column order.
std::optional<double> KeyLevels::*const kLevelFields[] = {
    &KeyLevels::callWall,   &KeyLevels::putWall,    &KeyLevels::gammaFlip,
    &KeyLevels::volTrigger, &KeyLevels::maxPain,    &KeyLevels::zeroGamma,
    &KeyLevels::zeroDex,    &KeyLevels::callOiWall, &KeyLevels::putOiWall};

const std::string kSummaryColumns =
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

CaptureQueries MakeQueries() {
  const std::string select = "SELECT " + kSummaryColumns;
  const std::string full =
      select + ", contracts, exposures FROM capture JOIN capture_data ON capture_id = id ";
  CaptureQueries q;
  q.insertSummary = kInsertSummarySql;
  q.insertData = "INSERT INTO capture_data(capture_id, contracts, exposures) VALUES(?1, ?2, ?3)";
  q.latest = full + "WHERE symbol = ?1 ORDER BY as_of DESC, id DESC LIMIT 1";
  q.byId = full + "WHERE id = ?1";
  q.firstAtOrAfter = full + "WHERE symbol = ?1 AND as_of >= ?2 ORDER BY as_of, id LIMIT 1";
  q.lastBefore = full + "WHERE symbol = ?1 AND as_of < ?2 ORDER BY as_of DESC, id DESC LIMIT 1";
  q.day = select + " FROM capture WHERE symbol = ?1 AND session_date = ?2 ORDER BY as_of, id";
  q.latestDigest = "SELECT chain_digest FROM capture WHERE symbol = ?1 ORDER BY as_of DESC, id DESC LIMIT 1";
  q.dayIds = "SELECT id, as_of FROM capture WHERE symbol = ?1 AND session_date = ?2 ORDER BY as_of, id";
  q.exposures = "SELECT exposures FROM capture_data WHERE capture_id = ?1";
  q.pruneData = "DELETE FROM capture_data WHERE capture_id IN (SELECT id FROM capture WHERE fetched_at < ?1)";
  q.prune = "DELETE FROM capture WHERE fetched_at < ?1";
  q.symbols = "SELECT DISTINCT symbol FROM capture ORDER BY symbol";
  return q;
}

}  // namespace

const CaptureQueries& Queries() {
  static const CaptureQueries queries = MakeQueries();
  return queries;
}

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

CaptureSummary ReadSummary(const Statement& s) {
  CaptureSummary c;
  Provenance& p = c.provenance;
  c.id = s.Int(0);
  c.symbol = s.Text(1);
  c.fetchedAt = s.Int(2);
  c.asOf = s.Int(3);
  c.sessionDate = s.Text(4);
  p.source = s.Text(5);
  p.engine = s.Text(6);
  p.conversionMethod = s.Text(7);
  p.conversionRatio = s.Real(8);
  p.scope = s.Text(9);
  p.selectedExpiration = s.Text(10);
  p.sourceSnapshotTime = s.Text(11);
  p.regime = s.Text(12);
  c.spot = s.Real(13);
  c.rate = s.Real(14);
  c.dividend = s.Real(15);
  int column = 16;
  for (const auto field : kLevelFields) c.levels.*field = s.OptionalReal(column++);
  c.netGex = s.Real(25);
  c.netDex = s.Real(26);
  c.chainDigest = s.Text(27);
  c.contractCount = s.Int(28);
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
