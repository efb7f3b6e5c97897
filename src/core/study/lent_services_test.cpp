// Which operating-system services a call uses: those the host lends, else the library's own.
#include <gtest/gtest.h>

#include <string>

#include "host/fake_study_host.h"
#include "study/study_entry.h"
#include "study/input_table.h"

namespace study {
namespace {

// Services whose New York date is fixed, so a request names the services that dated it.
class DatedServices : public host::FakeServices {
 public:
  platform::CivilDate NewYorkDate(double) override { return {2030, 5, 6}; }
};

TEST(LentServices, ResearchAndDatesComeFromTheLentServicesElseTheLibrarysOwn) {
  // The lent fakes date by UTC: 2025-01-03 at 03:00Z.
  const struct {
    bool hostLends;
    const char* day;
  } cases[] = {{true, "&day=2025-01-03"}, {false, "&day=2030-05-06"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hostLends ? "host lends services" : "host lends none");
    host::FakeStudyHost sc;
    sc.lendServices = c.hostLends;
    DatedServices own;
    sc.declarationCall = true;
    StudyFunction(sc, own);
    sc.declarationCall = false;
    sc.now = 1735873200;  // 2025-01-03T03:00Z
    sc.inputs[kResearchRequest].number = 1;
    StudyFunction(sc, own);

    const host::FakeServices& used = c.hostLends ? sc.services : own;
    const host::FakeServices& unused = c.hostLends ? static_cast<host::FakeServices&>(own) : sc.services;
    ASSERT_EQ(used.getUrls.size(), 1u);
    EXPECT_TRUE(used.getUrls[0].ends_with(c.day)) << used.getUrls[0];
    EXPECT_TRUE(unused.getUrls.empty());
    sc.removalCall = true;
    StudyFunction(sc, own);
  }
}

}  // namespace
}  // namespace study
