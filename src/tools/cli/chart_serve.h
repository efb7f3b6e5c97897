// `ordinel chart --serve`: the live session served as a page on loopback. The session runs on
// the calling thread; the page's requests reach it through the page server's threads.
#pragma once

#include <signal.h>

#include <functional>
#include <string>
#include <vector>

#include "chart/chart_data.h"
#include "cli/chart_history.h"
#include "cli/chart_options.h"
#include "cli/chart_session.h"

namespace cli {

// Share of the bars a paced chart starts with.
inline constexpr double kPacedStartShare = 0.6;

// The pace `options` ask for: --pace when given, else kBundledBarsPace for the bundled bars
// and 0 (all bars at once) for a bars file of the user's.
double PaceOf(const ChartOptions& options);

// For a paced chart (`pace` > 0) keeps the first kPacedStartShare of the bars (at least one)
// in `chart` and returns the rest, in order, to be added one by one; nothing otherwise.
std::vector<chart::Bar> HoldBackForPace(chart::ChartData* chart, double pace);

// Serves `session` at 127.0.0.1:options.port and calls the study every second, at once after
// each press or change from the page, and whenever a held-back bar is due (one per
// `paceSeconds`); pushes a frame to the page after every change it shows, with `history`'s
// layer while the page (or --history-lines) has it on. Writes the pictures
// as well when options.outGiven. When SIGINT or SIGTERM (blocked by the caller) arrives, the
// page's changes end (later ones are refused with 503), the study takes the presses still
// queued, `saveOnStop` runs and then the server stops, whatever its clients do; returns what
// `saveOnStop` returned. Returns kExitInvalid when the port cannot be bound.
int ServeChart(const ChartOptions& options, ChartSession& session, ChartHistory& history,
               std::vector<chart::Bar> heldBack, const sigset_t& stopSignals,
               const std::function<int()>& saveOnStop);

}  // namespace cli
