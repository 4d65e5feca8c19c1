# The Windows Graphics Capture backend and its GPU scaler: portable logic
# behind the WgcPlatform seam, and the thin Windows adapter over the Windows
# Runtime, Direct3D 11 and its video processor.
target_sources(capture_core PRIVATE wgc_capture.cpp gpu_scaler.cpp)
if(WIN32)
  target_sources(ORVELCapture PRIVATE win/wgc_platform_win.cpp)
endif()
