#include "run_checks.h"

#include <gtest/gtest.h>

namespace orvel::wintest {

void ExpectWholeRecordsWithTheirTimes(const StallableReader& reader, const std::vector<double>& times,
                                      const HelperRun& run) {
  const analysis::BareStreamCollector& frames = reader.frames();
  EXPECT_EQ(frames.leftoverBytes(), 0u) << "the stream ends inside a record (" << frames.totalBytes() << " bytes, "
                                        << frames.records() << " whole records)";
  ASSERT_EQ(times.size(), frames.records()) << "one time per record in the timestamp file";
  for (std::size_t i = 0; i < times.size(); ++i) {
    EXPECT_GT(times[i], run.launched()) << "frame " << i << " is timed before the launch";
    EXPECT_LT(times[i], run.endTime()) << "frame " << i << " is timed at or after the end time";
    if (i > 0) {
      EXPECT_GT(times[i], times[i - 1]) << "frame " << i << " is not later than frame " << i - 1;
    }
  }
}

void ExpectEveryRecordShowsTheWindow(const StallableReader& reader) {
  EXPECT_EQ(reader.probe().recordsSeen(), reader.frames().records());
  for (const std::string& problem : reader.probe().problems())
    ADD_FAILURE() << "torn or misaligned record: " << problem;
}

double LargestGap(const std::vector<double>& times) {
  double largest = 0;
  for (std::size_t i = 1; i < times.size(); ++i) largest = std::max(largest, times[i] - times[i - 1]);
  return largest;
}

}  // namespace orvel::wintest
