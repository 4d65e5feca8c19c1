#pragma once
// Reference-owning handles for the platform objects of the capture backend
// and the GPU scaler. A handle starts empty, holds at most one reference,
// and empties itself before it drops that reference, so no handle ever holds
// a released object. Declared in the order their objects are obtained, they
// release in reverse on every way out, exceptions included.

#include "platform/wgc_ids.h"
#include "platform/wgc_platform.h"

namespace orvel {

template <class Object>
class ComRef {
 public:
  explicit ComRef(WgcPlatform& platform) : platform_(platform) {}
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  Object* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

  // The out-parameter of the call that obtains the reference.
  Object** Put() {
    Reset();
    return &object_;
  }

  // Skipped when empty.
  void Reset() {
    if (object_ == nullptr) return;
    Object* const object = object_;
    object_ = nullptr;
    platform_.Release(AsUnknown(object));
  }

 private:
  WgcPlatform& platform_;
  Object* object_ = nullptr;
};

// For the Windows Runtime objects that hold resources until closed: frames
// (a buffer of the pool), the capture session and the frame pool. Releasing
// closes the object through IClosable first; a missing IClosable or a failed
// Close does not stop the release.
template <class Object>
class ClosingRef {
 public:
  explicit ClosingRef(WgcPlatform& platform) : platform_(platform) {}
  ~ClosingRef() { Reset(); }
  ClosingRef(const ClosingRef&) = delete;
  ClosingRef& operator=(const ClosingRef&) = delete;

  Object* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

  Object** Put() {
    Reset();
    return &object_;
  }

  void Reset() {
    if (object_ == nullptr) return;
    Object* const object = object_;
    object_ = nullptr;
    {
      ComRef<Closable> closable(platform_);
      if (platform_.QueryInterface(AsUnknown(object), kIidClosable, closable.Put()) >= 0 && closable) {
        platform_.Close(closable.get());
      }
    }  // the IClosable is released before the object
    platform_.Release(AsUnknown(object));
  }

 private:
  WgcPlatform& platform_;
  Object* object_ = nullptr;
};

}  // namespace orvel
