#pragma once
// A capture run's figures and its first and last frames, left in the report
// (support/report.h) under a name that stays the same from run to run.

#include <string>

#include "capture_run.h"
#include "expectations/capture_expectations.h"

namespace orvel::wintest {

// "capture run NAME: ..." with the figures of expectations/run_figures.h,
// and NAME-first / NAME-last as pictures. A run that wrote no frame has no
// figures and reports nothing.
void ReportRun(const std::string& name, const CaptureRun& run, std::uint32_t fps,
               const expectations::RunExpectation& expectation);

// Prints the expectation's notice ("GPU scaler unavailable (...)") once per
// program, since it holds for every run on this machine.
void SayNotice(const expectations::RunExpectation& expectation);

}  // namespace orvel::wintest
