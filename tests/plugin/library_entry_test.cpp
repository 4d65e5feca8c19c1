// What DllMain does: keep the module handle from process attach, and never
// fail the load.

#include <gtest/gtest.h>

#include "library_entry.h"

namespace orvel::plugin {
namespace {

constexpr ModuleHandle kInstance = static_cast<ModuleHandle>(0x7FF820000000);
constexpr ModuleHandle kOther = static_cast<ModuleHandle>(0x7FF830000000);

TEST(LibraryEntry, KeepsTheModuleFromProcessAttachOnly) {
  ModuleHandle module = ModuleHandle::kNone;
  EXPECT_EQ(LibraryEntry(module, kInstance, kDllProcessAttach), 1);
  EXPECT_EQ(module, kInstance);

  // Process detach (0), thread attach (2), thread detach (3) and anything
  // else change nothing.
  for (std::uint32_t reason : {0u, 2u, 3u, 4u, 0xFFFFFFFFu}) {
    EXPECT_EQ(LibraryEntry(module, kOther, reason), 1) << reason;
    EXPECT_EQ(module, kInstance) << reason;
  }
}

}  // namespace
}  // namespace orvel::plugin
