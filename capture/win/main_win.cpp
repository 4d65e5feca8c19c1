// ORVELCapture's entry point: wires the real Windows pieces to CaptureMain.
// Every decision lives in the portable code; nothing here examines a result.

#include <windows.h>

#include <cstdio>

#include "../capture_main.h"
#include "../clock.h"
#include "../gdi_capture.h"
#include "../wgc_capture.h"
#include "gdi_win.h"
#include "performance_counter_win.h"
#include "process_win.h"
#include "wgc_platform_win.h"
#include "window_manager_win.h"

namespace orvel {
namespace {

class WinBackends final : public CaptureBackends {
 public:
  WinBackends(WindowManager& windows, Clock& clock) : windows_(windows), clock_(clock) {}

  // The backends are wired in as they are built.
  ExitCode RunWgcCapture(CaptureSession& session) override {
    return orvel::RunWgcCapture(session, wgc_, windows_, clock_, stdout, stderr);
  }

  ExitCode RunGdiCapture(CaptureSession& session) override {
    return orvel::RunGdiCapture(session, gdi_, windows_, clock_, stdout);
  }

 private:
  WindowManager& windows_;
  Clock& clock_;
  WinWgcPlatform wgc_;
  WinGdi gdi_;
};

}  // namespace
}  // namespace orvel

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace orvel;
  WinPerformanceCounter counter;
  CounterClock clock(counter);  // the process's one clock: frequency read once
  WinProcess process;
  WinWindowManager windows;
  WinBackends backends(windows, clock);
  return static_cast<int>(CaptureMain(process, windows, clock, backends, stderr));
}
