#pragma once
// GoogleTest checks of a capture run against what this machine must show
// (expectations/capture_expectations.h).

#include <cstdint>
#include <string>
#include <vector>

#include "capture_run.h"
#include "expectations/capture_expectations.h"
#include "picture_size.h"

namespace orvel::wintest {

// The expectation for this machine, from the platform probe; its notice is
// printed the first time.
expectations::RunExpectation Expected(expectations::Form form, expectations::Scenario scenario);

// Ended in time, with the expected exit code and exactly the expected lines
// on standard error.
void ExpectOutcome(const CaptureRun& run, const expectations::RunExpectation& expected);

// Only whole records; one time per record, each inside the run, rising, and
// on the pacing grid of the gate that let it through.
void ExpectWholeRecordsOnTheGrid(const CaptureRun& run, const expectations::RunExpectation& expected,
                                 std::uint32_t fps);

// A bare record shows the pattern of a `source`-sized picture where
// LetterboxRect puts it, on the expected bars. `which` names the record.
void ExpectLetterboxedPattern(const std::vector<std::uint8_t>& record, const CaptureRun& run, PictureSize source,
                              const expectations::RunExpectation& expected, const std::string& which);

// Problems as one text, one a line.
std::string Lines(const std::vector<std::string>& problems);

}  // namespace orvel::wintest
