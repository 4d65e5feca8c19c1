#include "capture_path.h"

#include "support/platform_probe.h"

namespace orvel::wintest {

bool EightArgumentFormUsesGdi() {
  const PlatformFacts& facts = Platform();
  return !HasWindowCapture(facts) || !HasGpuScaler(facts);
}

}  // namespace orvel::wintest
