#include "service/fixture_catalogue.h"

#include <gtest/gtest.h>

#include "calendar/expiry_selection.h"
#include "json/json_document.h"
#include "json/json_test_support.h"
#include "payload/served_selection.h"
#include "service/expiry_request.h"
#include "service/levels_answer.h"
#include "service/service_test_support.h"
#include "text/format.h"

namespace service {
namespace {

using testing::LabelledDataDir;
using testing::RepositoryDataDir;
using testing::RequestOf;

constexpr double kThursdayNoonUtc = 1735819200;  // 2025-01-02T12:00:00Z
constexpr double kFridayEarlyUtc = 1735873200;   // 2025-01-03T03:00:00Z, still Jan 2 in New York
constexpr double kFridayNoonUtc = 1735905600;    // 2025-01-03T12:00:00Z

FixtureCatalogue CatalogueAt(std::string dir, double now) {
  return {std::move(dir), [now] { return now; }};
}

// The dates of the answer's expiry_selection, or one marker entry when it has none.
std::vector<std::string> SelectedOf(json::Node root) {
  const json::Node selection = json::Member(root, "expiry_selection");
  if (!selection) return {"<no expiry_selection>"};
  std::vector<std::string> texts;
  for (const json::Node date : json::Member(selection, "selected_expirations").Elements()) {
    texts.emplace_back(date.text());
  }
  return texts;
}

// Requests the sample map cannot answer get the failure envelope, with status 200 as the
// service sends it.
TEST(FixtureCatalogue, UnanswerableLevelsRequestsGetFailureEnvelope) {
  const std::string nq = "/extension/levels?symbol=NQ&basis=x";
  std::string twentyFive = nq + "&expiry_mode=multi&expiries=";
  for (int day = 1; day <= 25; ++day) {
    twentyFive += text::Format("%s2025-01-%02d", day == 1 ? "" : ",", day);
  }
  const struct {
    std::string target;
    const char* error;
  } cases[] = {
      {"/extension/levels?basis=signed_flow", "missing_symbol"},
      {"/extension/levels?symbol=ES&basis=signed_flow&source=SPX", "symbol_not_supported"},
      {"/extension/levels?symbol=N\"Q\\\x01&basis=signed_flow", "symbol_not_supported"},
      {nq + "&expiry_mode=multi&expiries=2025-01-17,", "invalid_expiry_selection"},
      {nq + "&expiry_mode=multi&expiries=2025-1-17", "invalid_expiry_selection"},
      {nq + "&expiry_mode=specific&expiry=2025-02-30", "invalid_expiry_selection"},
      {nq + "&expiry_mode=specific", "invalid_expiry_selection"},
      {nq + "&expiry_mode=", "invalid_expiry_selection"},
      {twentyFive, "invalid_expiry_selection"},
  };
  const FixtureCatalogue catalogue = CatalogueAt(LabelledDataDir(), kThursdayNoonUtc);
  for (const auto& c : cases) {
    const FixtureAnswer answer = AnswerRequest(catalogue, RequestOf("GET", c.target));
    const json::testing::ParsedJson root(answer.body);
    EXPECT_EQ(answer.status, 200) << c.target;
    EXPECT_FALSE(json::MemberIsTrue(root, "ok")) << c.target;
    EXPECT_EQ(json::MemberAsText(root, "error"), c.error) << c.target;
    EXPECT_FALSE(json::MemberAsText(root, "message").empty()) << c.target;
  }
}

// The answer to every expiry tail the study can send on a given day must pass the study's own
// check; the dates served follow the New York date.
TEST(FixtureCatalogue, ExpirySelectionsAreAnsweredAsTheStudyChecksThem) {
  const struct {
    double now;
    uint32_t mode;
    const char* multi;
    const char* specific;
    std::vector<std::string> served;
  } cases[] = {
      {kFridayEarlyUtc, calendar::kExpiryLegacy, "", "", {}},
      {kFridayEarlyUtc,
       calendar::kExpiryMulti,
       " 2025-01-24 ,2025-01-17,2025-01-17",
       "",
       {"2025-01-17", "2025-01-24"}},
      {kFridayEarlyUtc,
       calendar::kExpiryMulti,
       "",
       "",
       {"2025-01-03", "2025-01-10", "2025-01-17", "2025-01-24"}},
      {kFridayEarlyUtc, calendar::kExpirySpecific, "", "2025-03-21", {"2025-03-21"}},
      {kFridayEarlyUtc, calendar::kExpiryZeroDte, "", "", {"2025-01-02"}},
      {kFridayNoonUtc, calendar::kExpiryZeroDte, "", "", {"2025-01-03"}},
      {kFridayNoonUtc + 86400,
       calendar::kExpiryMulti,
       "",
       "",
       {"2025-01-10", "2025-01-17", "2025-01-24", "2025-01-31"}},
  };
  for (const auto& c : cases) {
    const calendar::ExpirySelection selection =
        calendar::BuildExpirySelection(c.mode, c.multi, c.specific, NewYorkDateText(c.now));
    const std::string target =
        "/extension/levels?symbol=NQ&basis=signed_flow" + calendar::ExpiryQueryString(selection);
    const FixtureAnswer answer =
        AnswerRequest(CatalogueAt(RepositoryDataDir(), c.now), RequestOf("POST", target));
    const json::testing::ParsedJson root(answer.body);
    EXPECT_TRUE(json::MemberIsTrue(root, "ok")) << target << " at " << c.now;
    EXPECT_TRUE(calendar::ResponseSelectionMatches(payload::ReadServedSelection(root), selection))
        << target << " at " << c.now;
    if (c.mode != calendar::kExpiryLegacy) {
      EXPECT_EQ(SelectedOf(root), c.served) << target << " at " << c.now;
    }
  }
}

TEST(FixtureCatalogue, ChartResearchAndUnknownPaths) {
  const struct {
    const char* target;
    int status;
    const char* which;  // "which" of the answer, empty when not JSON or not labelled
  } cases[] = {
      {"/v8/finance/chart/^VIX?interval=1d&range=5d", 200, ""},
      {"/v8/finance/chart/QQQ?interval=1d&range=1mo", 200, "qqq"},
      {"/market-context/indicator-research?symbol=NQ&source=SPY&day=2025-01-02", 200, "research day"},
      {"/market-context/indicator-research?symbol=NQ&source=SPX&day=2025-01-06", 200, "research symbol"},
      {"/market-context/indicator-research?symbol=ES&source=SPX&day=2025-01-02", 404, ""},
      {"/market-context/indicator-research?symbol=../NQ&source=SPY&day=2025-01-02", 404, ""},
      {"/market-context/indicator-research?source=SPY&day=2025-01-02", 404, ""},
      {"/v8/finance/chart/SPY?interval=1d&range=5d", 404, ""},
      {"/extension/levels/", 404, ""},
  };
  const FixtureCatalogue catalogue = CatalogueAt(LabelledDataDir(), kThursdayNoonUtc);
  for (const auto& c : cases) {
    const FixtureAnswer answer = AnswerRequest(catalogue, RequestOf("GET", c.target));
    EXPECT_EQ(answer.status, c.status) << c.target;
    json::Document document;
    document.Parse(answer.body);
    EXPECT_EQ(json::MemberAsText(document.Root(), "which"), c.which) << c.target;
  }
}

TEST(FixtureCatalogue, MissingSampleFilesAnswer500) {
  const FixtureCatalogue catalogue = CatalogueAt("/nonexistent/ordinel/answers", kThursdayNoonUtc);
  for (const char* target : {"/extension/levels?symbol=NQ&basis=signed_flow", "/v8/finance/chart/QQQ"}) {
    const FixtureAnswer answer = AnswerRequest(catalogue, RequestOf("GET", target));
    EXPECT_EQ(answer.status, 500) << target;
    EXPECT_NE(answer.body.find("sample file missing"), std::string::npos) << target;
  }
}

TEST(FixtureCatalogue, UnsafeFileNamesAreNeverRead) {
  const FixtureCatalogue catalogue = CatalogueAt(LabelledDataDir(), kThursdayNoonUtc);
  std::string bytes = "untouched";
  for (const char* name : {"", "../legacy.json", "/etc/passwd", ".hidden", "a/b.json", "a b.json"}) {
    EXPECT_FALSE(IsSafeFileName(name)) << name;
    EXPECT_FALSE(ReadDataFile(catalogue, name, &bytes)) << name;
  }
  EXPECT_EQ(bytes, "untouched");
  EXPECT_TRUE(ReadDataFile(catalogue, "legacy.json", &bytes));
}

}  // namespace
}  // namespace service
