#pragma once
// Failures of platform calls inside the Windows Graphics Capture backend and
// its scaler travel as HResultError and are caught in one place.

#include <cstdint>

namespace orvel {

// A 32-bit HRESULT: negative means failure, any other value success.
using HResult = std::int32_t;

constexpr HResult kOk = 0;
constexpr HResult kAccessDenied = static_cast<HResult>(0x80070005u);  // E_ACCESSDENIED
constexpr HResult kNoInterface = static_cast<HResult>(0x80004002u);   // E_NOINTERFACE
constexpr HResult kFail = static_cast<HResult>(0x80004005u);          // E_FAIL

// Deliberately not a std::exception: the backend reports the two kinds of
// failure with different lines, and one must not be caught as the other.
class HResultError {
 public:
  explicit HResultError(HResult hr) : hresult_(hr) {}
  long hresult() const { return hresult_; }

 private:
  long hresult_;
};

// Success codes other than zero count as success.
inline void CheckHResult(HResult hr) {
  if (hr < 0) throw HResultError(hr);
}

}  // namespace orvel
