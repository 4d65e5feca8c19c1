# The Windows Graphics Capture backend and its GPU scaler: portable logic
# behind the WgcPlatform seam (the Windows adapter follows).
target_sources(capture_core PRIVATE wgc_capture.cpp gpu_scaler.cpp)
