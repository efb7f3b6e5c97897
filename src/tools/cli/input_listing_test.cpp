#include "cli/input_listing.h"

#include <gtest/gtest.h>

namespace cli {
namespace {

TEST(InputListing, OneLinePerInputInSlotOrderWithItsDefaultAsSetWritesIt) {
  chart::InputStore inputs;
  inputs.Declare(3, {"Line width", host::InputKind::kInteger, 1, "", 1, 8, ""});
  inputs.Declare(0, {"API base URL", host::InputKind::kText, 0, "https://levels.example", {}, {}, ""});
  inputs.Declare(1, {"Panel anchor", host::InputKind::kChoice, 1, "", {}, {}, "Top left;Top right"});
  inputs.Declare(2, {"Show info panel", host::InputKind::kYesNo, 1, "", {}, {}, ""});
  inputs.Declare(4, {"Spacing (%)", host::InputKind::kFloat, 2.4, "", 0.5, 12, ""});
  inputs.Declare(5, {"Research day", host::InputKind::kText, 0, "", {}, {}, ""});
  EXPECT_EQ(InputListingText(inputs),
            "API base URL\ttext\thttps://levels.example\ta service URL (blank: the study's own)\n"
            "Panel anchor\tchoice\tTop right\tTop left; Top right\n"
            "Show info panel\tyesno\tYes\tYes or No\n"
            "Line width\tinteger\t1\t1 to 8\n"
            "Spacing (%)\tfloat\t2.4\t0.5 to 12\n"
            "Research day\ttext\t\tany text\n");
}

}  // namespace
}  // namespace cli
