# The GDI fallback backend: portable loop, thin Windows adapter.
target_sources(capture_core PRIVATE gdi_capture.cpp)
if(WIN32)
  target_sources(ORVELCapture PRIVATE win/gdi_win.cpp)
endif()
