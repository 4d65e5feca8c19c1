#pragma once
// What the eight-argument form's frames show on this machine, from the
// platform probe and the capture expectations (tests/expectations, proved
// natively over Wine, Windows 11 and machines without a video processor),
// never from "is this Wine".

#include <string>

namespace orvel::wintest {

struct BareFormPicture {
  // The GDI fallback writes the frames, so they show the client area; with
  // Windows Graphics Capture they show the whole window.
  bool clientArea = false;
  std::string backend;  // who writes the frames and why, for messages
};

BareFormPicture BareFormPictureHere();

}  // namespace orvel::wintest
