#pragma once
// Runtime-library streams for tests: a std::FILE* that keeps every byte that
// reaches it and fails on demand, so that code writing with fwrite, fflush
// and fclose can be driven into each of its failure paths.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

namespace orvel::testing {

class TestStream {
 public:
  enum class Buffering {
    Unbuffered,  // every fwrite reaches the stream at once: write failures show in fwrite
    Buffered,    // writes wait in the buffer until fflush: failures show in fflush
  };

  // Holds a whole 1920 x 1080 record.
  static constexpr std::size_t kLargeBuffer = 16u << 20;

  explicit TestStream(Buffering buffering = Buffering::Unbuffered, std::size_t bufferBytes = kLargeBuffer);
  ~TestStream();  // closes the FILE unless the code under test did
  TestStream(const TestStream&) = delete;
  TestStream& operator=(const TestStream&) = delete;

  std::FILE* file() const { return file_; }

  // Like a device that fills up: the stream takes `bytes` more bytes, then
  // refuses every write.
  void AcceptOnly(std::size_t bytes);
  void FailClose() { state_->failClose = true; }
  // Makes fclose behave as the Windows runtime's does (measured under Wine):
  // a write refused while the stream is being closed is not reported, so
  // fclose answers with the close alone and the bytes are lost silently.
  // glibc's own fclose reports such a write, which would hide a missing
  // fflush before the close. An explicit fflush still reports the failure.
  void HideWriteFailuresOnClose();

  const std::string& bytes() const { return state_->bytes; }
  int writeCalls() const { return state_->writeCalls; }
  // Writes refused in whole or in part.
  int refusedWrites() const { return state_->refusedWrites; }
  int closeCalls() const { return state_->closeCalls; }
  // Bytes refused during fclose and not reported (HideWriteFailuresOnClose).
  std::size_t bytesLostOnClose() const { return state_->bytesLostOnClose; }

  struct State {
    std::string bytes;
    int writeCalls = 0;
    bool limited = false;
    std::size_t room = 0;
    int refusedWrites = 0;
    bool failClose = false;
    int closeCalls = 0;
    bool hideWriteFailuresOnClose = false;
    std::size_t bytesLostOnClose = 0;
    std::string buffer;         // the stdio buffer of a buffered stream
    std::FILE* file = nullptr;  // the stream itself, to tell fclose from fflush
  };

 private:
  std::unique_ptr<State> state_;
  std::FILE* file_ = nullptr;
};

// The bytes that `stream` has been given, as a string (for memory streams
// that the tests read back, such as a tmpfile standing for standard error).
std::string ReadAll(std::FILE* stream);

}  // namespace orvel::testing
