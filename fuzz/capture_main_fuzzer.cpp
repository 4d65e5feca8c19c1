// The capture helper's entry logic driven with any argument list and any
// answers from the window manager, the clock, the process services and the
// two backends. A model of the checks, the fallback decision and the closing
// of the timestamp file says what the run must end with; the backends check
// the session they are handed.
//
// Input: 25 control bytes (see Controls), then up to 16 arguments as
// NUL-separated texts (see FuzzInput::Text).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture_main.h"
#include "command_line.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_process.h"
#include "fakes/fake_window_manager.h"
#include "fakes/test_streams.h"
#include "fuzz_check.h"
#include "fuzz_input.h"

namespace orvel::fuzz {
namespace {

constexpr std::size_t kMaxArguments = 16;
// Room for every time the fake backends write: the times wait in the buffer
// until the entry function's final flush.
constexpr std::size_t kTimestampBuffer = 4096;

constexpr ExitCode kWgcResults[] = {ExitCode::Ok,          ExitCode::WindowUnavailable, ExitCode::CaptureFailed,
                                    ExitCode::NoFrames,    ExitCode::NoContent,         ExitCode::WriteFailed,
                                    ExitCode::AccessDenied};
constexpr ExitCode kGdiResults[] = {ExitCode::Ok,         ExitCode::WindowUnavailable, ExitCode::CaptureFailed,
                                    ExitCode::NoFrames,   ExitCode::GdiCopyFailed,     ExitCode::NoContent,
                                    ExitCode::WriteFailed};

struct Controls {
  bool argumentListFails, windowExists, windowIsTheArgument, ownerIsTheArgument, iconic;
  bool fileOpenFails, closeFails, roomLimited, roInitializeFails, closeHidesFlushFailure;
  ExitCode wgcResult, gdiResult;
  std::uint32_t wgcFrames, gdiFrames;
  double wgcDuration, tick;
  std::size_t room;
  double start;
  std::uint64_t window;
  std::uint32_t owner;
};

Controls ReadControls(FuzzInput& in) {
  Controls c{};
  const std::uint8_t flags = in.Byte();
  c.argumentListFails = flags & 0x01;
  c.windowExists = flags & 0x02;
  c.windowIsTheArgument = flags & 0x04;
  c.ownerIsTheArgument = flags & 0x08;
  c.iconic = flags & 0x10;
  c.fileOpenFails = flags & 0x20;
  c.closeFails = flags & 0x40;
  c.roomLimited = flags & 0x80;
  const std::uint8_t run = in.Byte();
  c.roInitializeFails = run & 0x01;
  c.closeHidesFlushFailure = run & 0x02;
  c.wgcResult = kWgcResults[(run >> 2 & 7) % 7];
  c.gdiResult = kGdiResults[(run >> 5 & 7) % 7];
  const std::uint8_t frames = in.Byte();
  c.wgcFrames = frames & 3;
  c.gdiFrames = frames >> 2 & 3;
  c.wgcDuration = (frames >> 4) * 0.5;
  c.tick = in.Byte() * 0.01;
  c.room = in.Byte();
  c.start = in.Double();
  c.window = in.U64();
  c.owner = in.U32();
  return c;
}

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

// Backends that check the session they are handed, write a few times to the
// timestamp file as the real ones would, and return what the input says.
class CheckingBackends final : public CaptureBackends {
 public:
  CheckingBackends(const Controls& controls, testing::FakeClock& clock, const std::vector<std::wstring>& arguments)
      : controls_(controls), clock_(clock), arguments_(arguments) {}

  int wgcCalls = 0, gdiCalls = 0;

  ExitCode RunWgcCapture(CaptureSession& session) override {
    ++wgcCalls;
    CheckSession(session);
    FUZZ_CHECK(session.framesWritten == 0 && !session.contentSeen);
    WriteTimes(session, controls_.wgcFrames);
    clock_.Advance(controls_.wgcDuration);
    return controls_.wgcResult;
  }

  ExitCode RunGdiCapture(CaptureSession& session) override {
    ++gdiCalls;
    CheckSession(session);
    FUZZ_CHECK(gdiCalls == 1 && wgcCalls <= 1);
    FUZZ_CHECK(session.framesWritten == 0);
    FUZZ_CHECK(session.timestampFile != nullptr);
    WriteTimes(session, controls_.gdiFrames);
    return controls_.gdiResult;
  }

 private:
  // The fields hold the converted arguments, and every check has passed.
  void CheckSession(const CaptureSession& session) const {
    const std::size_t count = arguments_.size();
    FUZZ_CHECK(count == 5 || count == 8);
    FUZZ_CHECK(session.window == ConvertUnsigned64(arguments_[1].c_str()));
    FUZZ_CHECK(session.processId == ConvertUnsigned32(arguments_[2].c_str()));
    FUZZ_CHECK(session.fps == ConvertUnsigned32(arguments_[3].c_str()));
    const double endTime = ConvertDouble(arguments_[4].c_str());
    FUZZ_CHECK(session.endTime == endTime || (std::isnan(session.endTime) && std::isnan(endTime)));
    FUZZ_CHECK(session.processId != 0);
    FUZZ_CHECK(session.fps == 30 || session.fps == 60);
    if (count == 5) {
      FUZZ_CHECK(session.width == 0 && session.height == 0);
      FUZZ_CHECK(session.timestampFile == nullptr);
    } else {
      FUZZ_CHECK(session.width == ConvertUnsigned32(arguments_[5].c_str()));
      FUZZ_CHECK(session.height == ConvertUnsigned32(arguments_[6].c_str()));
      FUZZ_CHECK((session.width == 1280 && session.height == 720) || (session.width == 1920 && session.height == 1080));
      FUZZ_CHECK(session.timestampFile != nullptr);
    }
  }

  void WriteTimes(CaptureSession& session, std::uint32_t frames) const {
    for (std::uint32_t i = 0; i < frames; ++i) {
      if (session.timestampFile != nullptr) {
        const double time = clock_.now() + i;
        std::fwrite(&time, sizeof time, 1, session.timestampFile);
      }
      ++session.framesWritten;
    }
  }

  const Controls& controls_;
  testing::FakeClock& clock_;
  const std::vector<std::wstring>& arguments_;
};

// What the run must end with, worked out from the rules alone.
struct Expectation {
  std::optional<ExitCode> refusal;  // a check failed (or the list could not be built)
  bool opensFile = false;           // every check passed in the eight-argument form
  bool wgcRuns = false, fallsBack = false;
  ExitCode result = ExitCode::Ok;
};

Expectation Expect(const Controls& c, const std::vector<std::wstring>& arguments) {
  Expectation e;
  const std::size_t count = arguments.size();
  if (c.argumentListFails || (count != 5 && count != 8)) {
    e.refusal = e.result = ExitCode::BadArguments;
    return e;
  }
  const std::uint64_t window = ConvertUnsigned64(arguments[1].c_str());
  const std::uint32_t processId = ConvertUnsigned32(arguments[2].c_str());
  const std::uint32_t fps = ConvertUnsigned32(arguments[3].c_str());
  const double endTime = ConvertDouble(arguments[4].c_str());
  const std::uint64_t handle = c.windowIsTheArgument ? window : c.window;
  const std::uint32_t owner = c.ownerIsTheArgument ? processId : c.owner;
  // The fake clock answers each reading with its time, then moves on by the tick.
  double now = c.start;
  const auto reading = [&] {
    const double value = now;
    now += c.tick;
    return value;
  };

  std::optional<ExitCode> refusal;
  if (processId == 0 || !c.windowExists || handle != window || owner != processId || c.iconic) {
    refusal = ExitCode::WindowUnavailable;
  } else if (fps != 30 && fps != 60) {
    refusal = ExitCode::BadArguments;
  } else if (!(endTime > reading())) {
    refusal = ExitCode::BadArguments;
  } else if (!(reading() + 65.0 > endTime)) {
    refusal = ExitCode::BadArguments;
  } else if (count == 8) {
    const std::uint32_t width = ConvertUnsigned32(arguments[5].c_str());
    const std::uint32_t height = ConvertUnsigned32(arguments[6].c_str());
    if (!((width == 1280 && height == 720) || (width == 1920 && height == 1080))) {
      refusal = ExitCode::BadArguments;
    } else {
      e.opensFile = true;
      if (c.fileOpenFails) refusal = ExitCode::FileOpenFailed;
    }
  }
  if (refusal) {
    e.refusal = e.result = *refusal;
    return e;
  }

  const bool hasFile = count == 8;
  std::uint32_t frames = 0;
  e.result = ExitCode::CaptureFailed;
  if (!c.roInitializeFails) {
    e.wgcRuns = true;
    e.result = c.wgcResult;
    frames = c.wgcFrames;
    now += c.wgcDuration;
  }
  e.fallsBack = (e.result == ExitCode::CaptureFailed || e.result == ExitCode::NoFrames) && frames == 0 && hasFile &&
                endTime > reading();
  if (e.fallsBack) {
    e.result = c.gdiResult;
    frames = c.gdiFrames;
  }
  if (hasFile) {
    const bool flushFails = c.roomLimited && frames * sizeof(double) > c.room;
    if (flushFails || c.closeFails) e.result = ExitCode::WriteFailed;
  }
  return e;
}

bool IsDocumented(ExitCode code) {
  const int value = static_cast<int>(code);
  return value == 0 || (value >= 2 && value <= 10);
}

bool Journaled(const testing::FakeProcess& process, const std::string& prefix) {
  for (const std::string& call : process.journal())
    if (call.compare(0, prefix.size(), prefix) == 0) return true;
  return false;
}

}  // namespace
}  // namespace orvel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvel;
  using namespace orvel::fuzz;

  FuzzInput in(data, size);
  const Controls controls = ReadControls(in);
  std::vector<std::wstring> arguments;
  for (const std::u16string& text : in.Texts(kMaxArguments)) arguments.push_back(Wide(text));

  testing::FakeClock clock(controls.start);
  clock.TickPerReading(controls.tick);
  testing::FakeWindowManager windows;  // no clock: nothing changes during the run
  if (controls.windowExists && arguments.size() >= 3) {
    const std::uint64_t handle =
        controls.windowIsTheArgument ? ConvertUnsigned64(arguments[1].c_str()) : controls.window;
    const std::uint32_t owner = controls.ownerIsTheArgument ? ConvertUnsigned32(arguments[2].c_str()) : controls.owner;
    windows.Add(handle, owner).iconic = controls.iconic;
  } else if (controls.windowExists) {
    windows.Add(controls.window, controls.owner).iconic = controls.iconic;
  }
  // The timestamp file is a memory stream: nothing reaches the file system.
  testing::FakeProcess process(arguments);
  process.argumentListFails = controls.argumentListFails;
  process.fileOpenFails = controls.fileOpenFails;
  process.roInitializeResult = controls.roInitializeFails ? kFail : kOk;
  process.timestampBufferBytes = kTimestampBuffer;
  if (controls.roomLimited) process.timestampRoom = controls.room;
  process.timestampCloseHidesFlushFailure = controls.closeHidesFlushFailure;
  if (controls.closeFails) process.FailTimestampClose();
  testing::TestStream errors;
  CheckingBackends backends(controls, clock, arguments);

  const ExitCode result = CaptureMain(process, windows, clock, backends, errors.file());
  const Expectation expected = Expect(controls, arguments);

  FUZZ_CHECK(IsDocumented(result));
  FUZZ_CHECK(result == expected.result);
  FUZZ_CHECK(process.listsOutstanding() == 0);
  // A file is opened only once every check has passed, and closed once.
  const bool opened = Journaled(process, "OpenForBinaryWriting");
  FUZZ_CHECK(opened == expected.opensFile);
  if (process.timestampFile() != nullptr) FUZZ_CHECK(process.timestampFile()->closeCalls() == 1);
  if (expected.refusal) {
    // A refused command line starts nothing and writes nothing.
    FUZZ_CHECK(backends.wgcCalls == 0 && backends.gdiCalls == 0);
    FUZZ_CHECK(errors.bytes().empty());
    FUZZ_CHECK(!Journaled(process, "SetStandardOutputBinary"));
    FUZZ_CHECK(!Journaled(process, "RoInitialize"));
    if (process.timestampFile() != nullptr) FUZZ_CHECK(process.timestampFile()->bytes().empty());
  } else {
    FUZZ_CHECK(Journaled(process, "SetStandardOutputBinary"));
    FUZZ_CHECK(backends.wgcCalls == (expected.wgcRuns ? 1 : 0));
    FUZZ_CHECK(backends.gdiCalls == (expected.fallsBack ? 1 : 0));
    FUZZ_CHECK(errors.bytes() == (expected.fallsBack ? std::string(kFallbackLine) : std::string()));
  }
  return 0;
}
