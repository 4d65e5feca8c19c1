// Spacing figures on a known set of frame times.

#include "analysis/spacing.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace orvel::analysis {
namespace {

TEST(Spacing, NearestRankPercentiles) {
  std::vector<double> hundred(100);
  std::iota(hundred.begin(), hundred.end(), 1.0);
  std::reverse(hundred.begin(), hundred.end());  // unsorted input
  EXPECT_EQ(*NearestRankPercentile(hundred, 99), 99.0);
  EXPECT_EQ(*NearestRankPercentile(hundred, 50), 50.0);
  EXPECT_EQ(*NearestRankPercentile(hundred, 100), 100.0);
  EXPECT_EQ(*NearestRankPercentile(hundred, 0.5), 1.0);
  const std::vector<double> ten = {10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
  EXPECT_EQ(*NearestRankPercentile(ten, 99), 10.0) << "rank ceil(9.9) = 10";
  EXPECT_EQ(*NearestRankPercentile(ten, 50), 5.0) << "the lower middle value, not 5.5";
  EXPECT_EQ(*NearestRankPercentile(ten, 91), 10.0);
  EXPECT_EQ(*NearestRankPercentile(ten, 90), 9.0);
  EXPECT_FALSE(NearestRankPercentile({}, 50));
}

// Gaps of 30 ms (97 times), 40 ms, 50 ms and one of 200 ms.
TEST(Spacing, GapStatisticsOfAKnownRun) {
  std::vector<double> times = {10.0};
  auto add = [&](double gap) { times.push_back(times.back() + gap); };
  for (int i = 0; i < 97; ++i) add(0.030);
  add(0.040);
  add(0.050);
  add(0.200);
  const Spacing s = *MeasureSpacing(times);
  EXPECT_EQ(s.gaps, 100u);
  EXPECT_NEAR(s.min, 0.030, 1e-9);
  EXPECT_NEAR(s.median, 0.030, 1e-9);
  EXPECT_NEAR(s.p99, 0.050, 1e-9) << "rank 99 of 100";
  EXPECT_NEAR(s.max, 0.200, 1e-9);
  EXPECT_NEAR(s.mean, (97 * 0.030 + 0.040 + 0.050 + 0.200) / 100, 1e-9);
  EXPECT_EQ(DescribeSpacing(s, 30),
            "100 gaps: min 30.000 ms, median 30.000 ms, p99 50.000 ms, max 200.000 ms, mean 32.000 ms; requested "
            "33.333 ms");
  EXPECT_FALSE(MeasureSpacing(std::vector<double>{1.0}));
}

TEST(Spacing, FramesPerRequestedSlot) {
  EXPECT_DOUBLE_EQ(*FramesPerSlot(60, 100.0, 102.0, 30), 1.0);  // 60 slots of 1/30 s in 2 s
  EXPECT_DOUBLE_EQ(*FramesPerSlot(45, 100.0, 102.0, 30), 0.75);
  EXPECT_DOUBLE_EQ(*FramesPerSlot(60, 100.5, 102.0, 60), 60.0 / 90.0);
  EXPECT_FALSE(FramesPerSlot(10, 102.0, 102.0, 30)) << "no slots";
  EXPECT_FALSE(FramesPerSlot(10, 103.0, 102.0, 30));
  EXPECT_FALSE(FramesPerSlot(10, 100.0, 102.0, 0));
}

}  // namespace
}  // namespace orvel::analysis
