#include "capture_path.h"

#include "expectations/capture_expectations.h"
#include "support/platform_probe.h"

namespace orvel::wintest {

BareFormPicture BareFormPictureHere() {
  using namespace expectations;
  const RunExpectation run = ExpectRun(Platform(), Form::Bare, Scenario::PatternStays);
  return BareFormPicture{run.pictureArea == PictureArea::Client, run.backend};
}

}  // namespace orvel::wintest
