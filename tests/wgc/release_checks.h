#pragma once
// Checks over the fake platform's journal of acquisitions, closes and
// releases.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_wgc_platform.h"

namespace orvel::testing {

// Every object obtained was released exactly once, no string is left, and
// the platform saw no misuse (an object used after its release, of the wrong
// kind, a wrong interface identifier, a texture released while mapped).
::testing::AssertionResult NothingHeld(const FakeWgcPlatform& platform);

// Each release is of the object obtained last among those still held, except
// where the run's own order says otherwise:
// - the scaler and the read-back texture, made while a frame is held, belong
//   to the run and outlive that frame's objects;
// - a scaler or read-back texture made for textures of one size goes while
//   the frame that needs one for another size is held, when it is remade;
// - the scaler goes before the read-back texture made after it;
// - inside the scaler the output texture goes before its view.
::testing::AssertionResult ReleasedInReverseOrder(const std::vector<JournalEntry>& journal);

// Frames, the session and the pool are each closed through an IClosable just
// before they are released: query, Close, release the IClosable, release the
// object. With `closableOffered` false, nothing is closed at all.
::testing::AssertionResult ClosedBeforeRelease(const std::vector<JournalEntry>& journal, bool closableOffered = true);

// The roles of the released objects that outlive a loop turn, in the order
// of their release.
std::vector<std::string> RunObjectReleases(const std::vector<JournalEntry>& journal);

}  // namespace orvel::testing
