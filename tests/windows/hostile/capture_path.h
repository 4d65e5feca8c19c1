#pragma once
// Which backend the eight-argument form ends up with on this machine,
// decided from the platform probe alone (never from "is this Wine").

namespace orvel::wintest {

// True where the eight-argument form falls back to GDI before its first
// frame: no Windows Graphics Capture of windows, or no video processor for
// the scaler (WARP, the basic display adapter).
bool EightArgumentFormUsesGdi();

}  // namespace orvel::wintest
