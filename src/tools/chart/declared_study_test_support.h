// For tests of what the chart host does with the study's inputs and subgraphs without loading
// the study: declares them as the study's declaration call does.
#pragma once

#include "chart/chart_host.h"
#include "palette/subgraphs.h"
#include "study/input_table.h"

namespace chart::testing {

inline void DeclareStudy(ChartHost& host) {
  for (const study::InputRow& row : study::kInputTable) {
    host::InputDeclaration d;
    d.label = row.label;
    d.kind = row.kind;
    d.defaultNumber = row.defaultNumber;
    d.defaultText = row.defaultText;
    d.min = row.min;
    d.max = row.max;
    d.choices = row.choices;
    host.DeclareInput(row.slot, d);
  }
  for (const palette::SubgraphRow& row : palette::kSubgraphTable) {
    host.DeclareSubgraph(row.number, {row.name, 5, row.colour, 1});
  }
}

}  // namespace chart::testing
