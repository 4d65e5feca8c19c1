#pragma once
// The due-time rule that holds written frames to the frame rate in both
// backends. Pure arithmetic in double precision.

#include <cstdint>

namespace orvel {

class FramePacer {
 public:
  // A Windows Graphics Capture frame may arrive this much before its due time.
  static constexpr double kEarlyTolerance = 0.0005;

  explicit FramePacer(std::uint32_t fps) : interval_(1.0 / static_cast<double>(fps)) {}

  // GDI: take a frame at `now` unless the next due time lies after it.
  bool IsDue(double now) const { return !(nextDue_ > now); }

  // Windows Graphics Capture: a frame is too early when it comes more than
  // half a millisecond before its due time.
  bool IsTooEarly(double frameTime) const { return nextDue_ > frameTime + kEarlyTolerance; }

  // After a frame with time t was written: frames stay on a grid of one
  // interval anchored at the first written frame. A frame up to one whole
  // interval late keeps the grid (no drift); one more than an interval late
  // moves the grid to itself (missed slots are not made up).
  void Advance(double frameTime) {
    double base = nextDue_;
    if (nextDue_ == 0.0 || frameTime - nextDue_ > interval_) base = frameTime;
    nextDue_ = base + interval_;
  }

  double interval() const { return interval_; }
  double nextDue() const { return nextDue_; }  // 0.0 until the first written frame

 private:
  double interval_;
  double nextDue_ = 0.0;
};

}  // namespace orvel
