#pragma once
// Every platform object a check obtains through the capture adapter, held
// until it is released exactly once: released early by name, or at the end
// last obtained first. Capture frames, sessions and pools are closed
// through IClosable first, as the helper does.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/wgc_platform.h"

namespace orvel::wintest {

class HeldObjects {
 public:
  explicit HeldObjects(WgcPlatform& platform) : platform_(platform) {}
  ~HeldObjects();  // releases what is still held, last obtained first
  HeldObjects(const HeldObjects&) = delete;
  HeldObjects& operator=(const HeldObjects&) = delete;

  // Holds a non-null object under `name`; null is ignored. Returns it.
  template <class Object>
  Object* Hold(Object* object, const std::string& name, bool closable = false) {
    if (object != nullptr) held_.push_back(Entry{AsUnknown(object), name, closable});
    return object;
  }

  // Closes it when it is closable, releases it and forgets it; returns the
  // count Release reports. An object not held (never, or already released)
  // is a test failure.
  template <class Object>
  std::uint32_t Release(Object* object) {
    return ReleaseHeld(AsUnknown(object));
  }

  std::size_t count() const { return held_.size(); }

 private:
  struct Entry {
    Unknown* object;
    std::string name;
    bool closable;
  };
  std::uint32_t ReleaseHeld(Unknown* object);
  std::uint32_t CloseAndRelease(const Entry& entry);

  WgcPlatform& platform_;
  std::vector<Entry> held_;
};

}  // namespace orvel::wintest
