// The declaration call: study name and description, the 77 inputs and the 44 subgraphs.
#pragma once

#include "host/study_host.h"

namespace study {

// Declares everything in order and touches nothing else (no state, no drawing, no request).
void DeclareStudy(host::StudyHost& sc);

// The declaration of input `slot` (0-76) and of subgraph `number` (0-43).
host::InputDeclaration InputDeclarationAt(int slot);
host::SubgraphDeclaration SubgraphDeclarationAt(int number);

}  // namespace study
