#include "study/study_entry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "host/fake_study_host.h"
#include "palette/subgraphs.h"
#include "study/driver.h"
#include "study/input_table.h"

namespace study {
namespace {

host::FakeStudyHost Declared() {
  host::FakeStudyHost sc;
  sc.declarationCall = true;
  StudyFunction(sc, sc.services);
  sc.declarationCall = false;
  return sc;
}

size_t ChoiceCount(const std::string& choices) {
  return choices.empty() ? 0 : std::count(choices.begin(), choices.end(), ';') + 1;
}

TEST(Declaration, DeclaresEveryInputAndSubgraphWithConsistentDefaults) {
  host::FakeStudyHost sc = Declared();
  EXPECT_EQ(sc.study.name, "Ordinel");
  EXPECT_EQ(sc.study.graphRegion, 0);
  ASSERT_EQ(sc.inputs.size(), size_t(kInputCount));
  ASSERT_EQ(sc.subgraphs.size(), size_t(palette::kSubgraphCount));
  std::set<std::string> labels;
  for (const auto& [slot, input] : sc.inputs) {
    const host::InputDeclaration& d = input.declaration;
    SCOPED_TRACE(d.label);
    EXPECT_TRUE(labels.insert(d.label).second) << "duplicate label";
    if (d.kind == host::InputKind::kChoice) {
      EXPECT_LT(d.defaultNumber, ChoiceCount(d.choices));
    } else {
      EXPECT_TRUE(d.choices.empty());
    }
    EXPECT_TRUE(d.kind != host::InputKind::kYesNo || d.defaultNumber == 0 || d.defaultNumber == 1);
    EXPECT_TRUE(!d.min || *d.min <= d.defaultNumber);
    EXPECT_TRUE(!d.max || *d.max >= d.defaultNumber);
    EXPECT_EQ(d.min.has_value(), d.max.has_value());
  }
  for (const auto& [number, sg] : sc.subgraphs) {
    EXPECT_EQ(sg.drawStyle, 5) << sg.name;
    EXPECT_EQ(sg.width, 1) << sg.name;
  }
}

// A declaration call allocates and draws nothing, nor touches a running instance; removal
// deletes the drawings and frees the state, once.
TEST(Declaration, LifecycleAllocatesOnceAndRemovalFreesEverything) {
  host::FakeStudyHost sc = Declared();
  EXPECT_EQ(sc.PersistentPointer(kStatePointerSlot), nullptr);
  EXPECT_EQ(sc.submitCount, 0);
  EXPECT_TRUE(sc.requests.empty() && sc.log.empty());
  StudyFunction(sc, sc.services);
  void* state = sc.PersistentPointer(kStatePointerSlot);
  ASSERT_NE(state, nullptr);
  sc.declarationCall = true;
  StudyFunction(sc, sc.services);
  EXPECT_EQ(sc.PersistentPointer(kStatePointerSlot), state);
  sc.declarationCall = false;
  sc.SubmitDrawing(host::DrawingRequest{});
  sc.removalCall = true;
  StudyFunction(sc, sc.services);
  EXPECT_EQ(sc.PersistentPointer(kStatePointerSlot), nullptr);
  EXPECT_TRUE(sc.drawings.empty());
  StudyFunction(sc, sc.services);  // a second removal call finds nothing to free
  EXPECT_EQ(sc.PersistentPointer(kStatePointerSlot), nullptr);
}

}  // namespace
}  // namespace study
