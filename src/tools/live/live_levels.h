// The levels path of the live service: the study's levels request answered from the latest
// stored capture of the symbol asked for or, with mode=locked, from the session's locked capture
// (locked_capture.h), computed by the engine as the sample service computes a chain.
#pragma once

#include <string>

#include "live/answer_context.h"
#include "live/live_config.h"
#include "platform/services.h"
#include "service/chain_levels.h"
#include "service/fixture_catalogue.h"
#include "store/capture_record.h"

namespace live {

// The GEX bases the study asks for; each is answered with the engine's one (kEngineBasis).
inline constexpr const char* kRequestBases[] = {"signed_flow", "settlement_oi", "estimated_oi"};
// What a request without a basis is read as: the study's default.
inline constexpr const char* kDefaultBasis = "signed_flow";

// The answer to a levels request (GET and POST alike), with the basis asked for and, for a
// locked map, the locked fields in its envelope. Failure envelopes: "missing_symbol",
// "symbol_not_supported" naming the symbols carried, "invalid_basis", "no_capture" before the
// symbol's first capture, "store_unavailable" when the history cannot be read (its reason goes
// to the log), and those of service::AnswerChainLevels (expiry selection, engine). Sets
// `*lasting`, when given, to false for an answer that only says the history could not be read,
// which must not be kept until the next capture.
service::FixtureAnswer AnswerLevels(const AnswerContext& context, const service::FixtureRequest& request,
                                    bool* lasting = nullptr);

// What the answer to `request` depends on besides the stored captures: its query (pairs in a
// canonical order) and, for a locked request, the session in force at the context's time.
// Requests with equal keys get equal answers until the next capture.
std::string LevelsAnswerKey(const AnswerContext& context, const service::FixtureRequest& request);

// The chain of a stored capture as the sample service's chain levels: its contracts, spot, time,
// rate and dividend, and, when `symbol` has a future, the mapping onto it at the capture's ratio.
service::ChainLevels StoredChainLevels(const store::CaptureRecord& capture, const SymbolConfig& symbol,
                                       platform::Services* services);

}  // namespace live
