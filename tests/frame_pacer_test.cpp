// FramePacer: the grid of due times, the early tolerance and the GDI due test.

#include "frame_pacer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvel {
namespace {

TEST(FramePacer, IntervalIsTheUnroundedQuotient) {
  EXPECT_EQ(FramePacer(30).interval(), 0.03333333333333333);
  EXPECT_EQ(FramePacer(60).interval(), 0.016666666666666666);
  EXPECT_EQ(FramePacer(30).nextDue(), 0.0);
}

TEST(FramePacer, KeepsTheGridUnlessAFrameIsMoreThanOneIntervalLate) {
  FramePacer pacer(30);
  pacer.Advance(100.0);
  EXPECT_EQ(pacer.nextDue(), 100.03333333333333);
  pacer.Advance(100.0345);  // late by less than an interval: grid unchanged
  EXPECT_EQ(pacer.nextDue(), 100.06666666666666);
  pacer.Advance(100.2);  // late by more than an interval: the grid moves
  EXPECT_EQ(pacer.nextDue(), 100.23333333333333);
}

// How late a frame is after the grid was set at 100.0 (30 fps, next due
// 100.03333333333333): up to one whole interval keeps the grid, anything more,
// between one and two intervals included, moves it to the frame's own time.
TEST(FramePacer, LatenessDecidesBetweenKeepingAndMovingTheGrid) {
  struct Case {
    double frameTime;
    double intervalsLate;  // for the failure message
    double nextDue;
  };
  const Case cases[] = {
      {100.03333333333333, 0.0, 100.06666666666666},  // on time: grid kept
      {100.05, 0.5, 100.06666666666666},              //
      {100.063, 0.89, 100.06666666666666},            //
      {100.07, 1.1, 100.10333333333332},              // grid moved to 100.07
      {100.0834, 1.5, 100.11673333333333},            //
      {100.0996, 1.99, 100.13293333333333},           //
      {100.12, 2.6, 100.15333333333334},              //
  };
  for (const Case& c : cases) {
    FramePacer pacer(30);
    pacer.Advance(100.0);
    ASSERT_EQ(pacer.nextDue(), 100.03333333333333);
    pacer.Advance(c.frameTime);
    EXPECT_EQ(pacer.nextDue(), c.nextDue) << c.intervalsLate << " intervals late";
  }
}

TEST(FramePacer, LateByExactlyOneIntervalKeepsTheGrid) {
  // Small times keep the sums exact: the grid starts at 0 + interval, and a
  // frame at 2 * interval is late by exactly one interval.
  for (std::uint32_t fps : {30u, 60u}) {
    FramePacer pacer(fps);
    const double interval = pacer.interval();
    pacer.Advance(0.0);
    ASSERT_EQ(pacer.nextDue(), interval);
    ASSERT_EQ(2 * interval - pacer.nextDue(), interval);
    pacer.Advance(2 * interval);
    EXPECT_EQ(pacer.nextDue(), 2 * interval) << "the grid stays";
    pacer.Advance(std::nextafter(4 * interval, 1.0));
    EXPECT_EQ(pacer.nextDue(), std::nextafter(4 * interval, 1.0) + interval) << "the grid moves";
  }
}

TEST(FramePacer, WorkedExampleAt60FramesPerSecond) {
  FramePacer pacer(60);
  pacer.Advance(10.0);
  EXPECT_EQ(pacer.nextDue(), 10.016666666666667);
  EXPECT_FALSE(pacer.IsTooEarly(10.0163));
  pacer.Advance(10.0163);
  EXPECT_EQ(pacer.nextDue(), 10.033333333333335);
  EXPECT_TRUE(pacer.IsTooEarly(10.0325));  // 10.033333333333335 > 10.033000000000001
  EXPECT_FALSE(pacer.IsTooEarly(10.0329));
}

TEST(FramePacer, EarlyToleranceIsHalfAMillisecondStrictly) {
  FramePacer pacer(30);
  pacer.Advance(50.0);
  const double due = pacer.nextDue();
  EXPECT_FALSE(pacer.IsTooEarly(due));
  EXPECT_FALSE(pacer.IsTooEarly(due - 0.0004));
  EXPECT_TRUE(pacer.IsTooEarly(due - 0.0006));
  EXPECT_TRUE(pacer.IsTooEarly(due - 0.01));
}

TEST(FramePacer, GdiTakesAFrameAtTheDueTimeAndWaitsBeforeIt) {
  FramePacer pacer(30);
  pacer.Advance(7.0);
  EXPECT_TRUE(pacer.IsDue(pacer.nextDue()));
  EXPECT_TRUE(pacer.IsDue(pacer.nextDue() + 1.0));
  EXPECT_FALSE(pacer.IsDue(std::nextafter(pacer.nextDue(), 0.0)));
}

TEST(FramePacer, UnsetDueTimeHoldsNothingBack) {
  const FramePacer pacer(60);
  EXPECT_TRUE(pacer.IsDue(0.0));
  EXPECT_TRUE(pacer.IsDue(123.0));
  EXPECT_FALSE(pacer.IsTooEarly(0.0));
  EXPECT_FALSE(pacer.IsTooEarly(0.0001));
}

TEST(FramePacer, DueTimeGrowsByAtLeastOneIntervalPerWrittenFrame) {
  FramePacer pacer(60);
  double previous = 0.0;
  const double times[] = {3.0, 3.001, 3.02, 3.5, 3.51, 3.52, 9.0};
  for (double t : times) {
    pacer.Advance(t);
    EXPECT_GE(pacer.nextDue(), previous + pacer.interval() - 1e-12);
    previous = pacer.nextDue();
  }
}

}  // namespace
}  // namespace orvel
