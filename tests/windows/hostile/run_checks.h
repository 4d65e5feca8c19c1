#pragma once
// What every hostile run must still deliver, however it ended: whole
// records only, each with its time, the times strictly increasing and inside
// the run. GoogleTest expectations, so one call reports every broken rule.

#include <vector>

#include "helper_run.h"
#include "stallable_reader.h"

namespace orvel::wintest {

void ExpectWholeRecordsWithTheirTimes(const StallableReader& reader, const std::vector<double>& times,
                                      const HelperRun& run);

// Every record has the window's picture between bars (RecordProbe): for runs
// in which the window lived while every frame was taken. A frame taken while
// the window is being destroyed may come out black, whole as it is.
void ExpectEveryRecordShowsTheWindow(const StallableReader& reader);

// The largest gap between two successive frame times; 0 with fewer than two.
double LargestGap(const std::vector<double>& times);

}  // namespace orvel::wintest
