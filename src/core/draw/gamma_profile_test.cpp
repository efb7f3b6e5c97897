#include <gtest/gtest.h>

#include "draw/draw_test_support.h"

namespace draw {
namespace {

using Lines = std::vector<std::string>;

class ProfileTest : public DrawTest {
 protected:
  ProfileTest() {
    settings.gexProfile = true;
    sc.closes.assign(200, 5000);
    sc.closes[120] = 4950;
    sc.closes[150] = 5050;
    sc.visible = {100, 200};  // 100 bars wide; bar 200 does not exist yet
  }
  Lines Profile(std::vector<payload::StrikeValue> points) {
    payload::LevelsSnapshot s;
    s.valid = true;
    s.profilePoints = std::move(points);
    Pass(s);
    return Rendered();
  }
};

TEST_F(ProfileTest, BarsScaleToTheLargestVisibleExposureAndEndAtTheLastBar) {
  // 6000 lies outside the padded range 4945-5055: it neither draws nor sets the scale.
  EXPECT_EQ(Profile({{4990, 100}, {5000, -50}, {5010, 25}, {5055, 1}, {6000, 1000}}),
            (Lines{"71900 rect 185-200 4994..4986 sg0 t74", "71901 rect 192-200 5004..4996 sg1 t74",
                   "71902 rect 196-200 5014..5006 sg0 t74", "71903 rect 199-200 5059..5051 sg0 t74"}));
}

TEST_F(ProfileTest, NeedsTwoVisiblePointsAndAPriceRange) {
  EXPECT_EQ(Profile({{5000, 100}, {6000, 100}}), Lines{}) << "one visible point";
  EXPECT_EQ(Profile({{4990, 0}, {5000, 0}}), Lines{}) << "no exposure";
  sc.closes.assign(200, 5000);
  EXPECT_EQ(Profile({{4990, 100}, {5000, 100}}), Lines{}) << "flat chart";
  sc.closes.clear();
  EXPECT_EQ(Profile({{4990, 100}, {5000, 100}}), Lines{}) << "no bars";
}

TEST_F(ProfileTest, NarrowChartsAndCrowdedProfiles) {
  sc.visible = {100, 103};
  sc.closes[101] = 4950;
  sc.closes[102] = 5050;
  EXPECT_EQ(Profile({{4990, 100}, {5000, 1}}),
            (Lines{"71900 rect 102-103 4994..4986 sg0 t74", "71901 rect 102-103 5004..4996 sg0 t74"}))
      << "fewer than 7 bars still draw length 1";
  sc.visible = {100, 200};
  EXPECT_EQ(Profile({{5000, 10}, {5000, -10}}), (Lines{"71900 rect 185-200 5000.44..4999.56 sg0 t74",
                                                       "71901 rect 185-200 5000.44..4999.56 sg1 t74"}))
      << "no spacing: 1% of the padded range";
  std::vector<payload::StrikeValue> crowded;
  for (int i = 0; i < 100; ++i) crowded.push_back({4950.0 + i, 1});
  EXPECT_EQ(Profile(crowded).size(), 80u);
  EXPECT_EQ(previous.back(), 71979);
}

}  // namespace
}  // namespace draw
