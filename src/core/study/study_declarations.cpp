#include "study/study_declarations.h"

#include <algorithm>
#include <iterator>

#include "palette/subgraphs.h"
#include "study/input_table.h"
#include "study/study_entry.h"

namespace study {
namespace {

using host::InputDeclaration;
using host::SubgraphDeclaration;

constexpr const char* kStudyDescription =
    "Ordinel - dealer gamma positioning map (call wall, put wall, gamma flip, vol trigger, max "
    "pain, focus levels, battle zone, top strikes by |GEX|, regime quadrant and the 12-year fear "
    "score), served by the Ordinel API. Descriptive market-structure context - not investment "
    "advice.";

// The platform's draw style code for subgraphs that only carry values and colours.
constexpr int kSubgraphDrawStyle = 5;

}  // namespace

host::InputDeclaration InputDeclarationAt(int slot) {
  const InputRow& row = kInputTable[slot];
  return InputDeclaration{row.label, row.kind, row.defaultNumber, row.defaultText,
                          row.min,   row.max,  row.choices};
}

host::SubgraphDeclaration SubgraphDeclarationAt(int number) {
  const palette::SubgraphRow& row = palette::kSubgraphTable[number];
  return SubgraphDeclaration{row.name, kSubgraphDrawStyle, row.colour, 1};
}

void DeclareStudy(host::StudyHost& sc) {
  host::StudyDeclaration study;
  study.name = kDllName;
  study.description = kStudyDescription;
  study.graphRegion = 0;
  std::copy(std::begin(host::kStudyHostSettings), std::end(host::kStudyHostSettings), study.hostSettings);
  sc.DeclareStudy(study);
  for (int slot = 0; slot < kInputCount; ++slot) sc.DeclareInput(slot, InputDeclarationAt(slot));
  for (int n = 0; n < palette::kSubgraphCount; ++n) sc.DeclareSubgraph(n, SubgraphDeclarationAt(n));
}

}  // namespace study
