// Records the study hands to the host when it declares itself, its inputs and its subgraphs.
#pragma once

#include <optional>
#include <string>

#include "host/colour.h"

namespace host {

enum class InputKind { kYesNo, kInteger, kFloat, kText, kChoice };

// One study input. `defaultNumber` holds the default of yes/no (0/1), integer, float and
// choice (0-based index) inputs; `defaultText` that of text inputs. `choices` is the
// ';'-separated list of a choice input, empty otherwise.
struct InputDeclaration {
  std::string label;
  InputKind kind = InputKind::kInteger;
  double defaultNumber = 0;
  std::string defaultText;
  std::optional<double> min;
  std::optional<double> max;
  std::string choices;
};

struct SubgraphDeclaration {
  std::string name;
  int drawStyle = 0;
  Rgb colour;
  int width = 1;
};

// The further host flags the study declares; their meaning belongs to the host, and a
// substitute host may ignore them.
inline constexpr int kStudyHostSettings[5] = {0, 0, 1, 2, 40};

// Study-wide settings of the declaration call.
struct StudyDeclaration {
  std::string name;
  std::string description;
  int graphRegion = 0;
  int hostSettings[5] = {0, 0, 0, 0, 0};
};

}  // namespace host
