// Resource figures: a number only when the platform gave a usable one.

#include "analysis/resources.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvel::analysis {
namespace {

TEST(Resources, CpuPerFrameOnlyFromUsableTimes) {
  struct Case {
    const char* name;
    std::optional<double> seconds;
    bool usable;
    std::size_t frames;
    std::optional<double> value;
    const char* text;
  };
  const Case cases[] = {
      {"measured", 0.5, true, 100, 0.005, "5.000 ms CPU per frame (0.500 s over 100 frames)"},
      {"platform known to misreport", 0.01, false, 100, std::nullopt,
       "not measured: this platform does not report the helper's CPU time"},
      {"nothing reported", std::nullopt, true, 100, std::nullopt, "not measured: the platform gave no CPU time"},
      {"zero", 0.0, true, 100, std::nullopt, "not measured: the platform reported no CPU time for a process that ran"},
      {"negative", -1.0, true, 100, std::nullopt,
       "not measured: the platform reported no CPU time for a process that ran"},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), true, 100, std::nullopt,
       "not measured: the platform reported no CPU time for a process that ran"},
      {"no frames", 0.5, true, 0, std::nullopt, "not measured: no frames were written"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Figure figure = CpuSecondsPerFrame(c.seconds, c.usable, c.frames);
    EXPECT_EQ(figure.value.has_value(), c.value.has_value());
    if (c.value) {
      EXPECT_DOUBLE_EQ(*figure.value, *c.value);
    }
    EXPECT_EQ(figure.text, c.text);
  }
}

TEST(Resources, PeakWorkingSetOnlyWhenNotZero) {
  const Figure measured = PeakWorkingSetMiB(48ull * 1024 * 1024 + 512 * 1024);
  ASSERT_TRUE(measured.value);
  EXPECT_DOUBLE_EQ(*measured.value, 48.5);
  EXPECT_EQ(measured.text, "48.5 MiB peak working set");
  EXPECT_EQ(PeakWorkingSetMiB(0).text, "not measured: the platform reported a working set of 0");
  EXPECT_FALSE(PeakWorkingSetMiB(0).value);
  EXPECT_EQ(PeakWorkingSetMiB(std::nullopt).text, "not measured: the platform gave no working set");
}

}  // namespace
}  // namespace orvel::analysis
