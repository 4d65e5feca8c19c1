#include "held_objects.h"

#include <gtest/gtest.h>

#include "platform/wgc_ids.h"

namespace orvel::wintest {

HeldObjects::~HeldObjects() {
  while (!held_.empty()) {
    const Entry last = held_.back();
    held_.pop_back();
    CloseAndRelease(last);
  }
}

std::uint32_t HeldObjects::ReleaseHeld(Unknown* object) {
  for (auto entry = held_.begin(); entry != held_.end(); ++entry) {
    if (entry->object == object) {
      const Entry found = *entry;
      held_.erase(entry);
      return CloseAndRelease(found);
    }
  }
  ADD_FAILURE() << "released an object that is not held (released twice, or never obtained)";
  return 0;
}

std::uint32_t HeldObjects::CloseAndRelease(const Entry& entry) {
  if (entry.closable) {
    // As the helper does: a failed query or close is ignored.
    Closable* closable = nullptr;
    if (platform_.QueryInterface(entry.object, kIidClosable, &closable) >= 0 && closable != nullptr) {
      platform_.Close(closable);
      platform_.Release(AsUnknown(closable));
    }
  }
  return platform_.Release(entry.object);
}

}  // namespace orvel::wintest
