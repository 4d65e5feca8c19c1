// The platform probe on the machine at hand. What the facts are depends on
// the machine; these hold on every one.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/platform_probe.h"

namespace orvel::wintest {
namespace {

TEST(PlatformProbe, FactsAreConsistentWithThemselves) {
  const PlatformFacts& facts = Platform();
  EXPECT_EQ(&facts, &Platform()) << "probed once";
  ASSERT_TRUE(facts.versionKnown);
  EXPECT_GE(facts.majorVersion, 6u);
  EXPECT_GT(facts.buildNumber, 0u);
  // A result goes with every answer: success with yes, a failure with no.
  EXPECT_EQ(facts.captureItemFactory, facts.captureItemFactoryResult >= 0);
  EXPECT_EQ(facts.videoDevice, facts.videoDeviceResult >= 0);
  EXPECT_NE(facts.adapterName.empty(), facts.adapterProblem.empty()) << facts.adapterProblem;
  if (facts.videoDevice) {
    EXPECT_FALSE(facts.adapterName.empty()) << "a device has an adapter";
  }
  // check_main refuses to run the tests without one.
  EXPECT_TRUE(facts.interactiveDesktop) << facts.desktopDetail;
}

TEST(PlatformProbe, TheProcessTimesProbeGetsAnAnswerFromItsChild) {
  const ProcessTimesProbe& probe = ProcessTimes();
  ASSERT_TRUE(probe.childAnswered) << probe.problem;
  EXPECT_GE(probe.burnedSeconds, 0.3);
  EXPECT_GE(probe.reportedSeconds, 0.0);
  std::printf("%s\n", DescribeProcessTimes(probe).c_str());
}

}  // namespace
}  // namespace orvel::wintest
