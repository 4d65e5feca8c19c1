#pragma once
// Reference-owning handles for the platform objects of the capture backend
// and the GPU scaler. A handle starts empty, holds at most one reference,
// and empties itself before it drops that reference, so no handle ever holds
// a released object. Declared in the order their objects are obtained, they
// release in reverse on every way out, exceptions included.

#include "platform/wgc_ids.h"
#include "platform/wgc_platform.h"

namespace orvel {

// `closeFirst`: for the Windows Runtime objects that hold resources until
// closed (frames, a buffer of the pool; the capture session; the frame pool),
// releasing closes the object through IClosable first. A missing IClosable or
// a failed Close does not stop the release.
template <class Object, bool closeFirst>
class BasicRef {
 public:
  explicit BasicRef(WgcPlatform& platform) : platform_(platform) {}
  ~BasicRef() { Reset(); }
  BasicRef(const BasicRef&) = delete;
  BasicRef& operator=(const BasicRef&) = delete;

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
    if constexpr (closeFirst) Close(object);
    platform_.Release(AsUnknown(object));
  }

 private:
  void Close(Object* object) {
    BasicRef<Closable, false> closable(platform_);
    if (platform_.QueryInterface(AsUnknown(object), kIidClosable, closable.Put()) >= 0 && closable) {
      platform_.Close(closable.get());
    }
  }  // the IClosable is released before the object

  WgcPlatform& platform_;
  Object* object_ = nullptr;
};

template <class Object>
using ComRef = BasicRef<Object, false>;
template <class Object>
using ClosingRef = BasicRef<Object, true>;

}  // namespace orvel
