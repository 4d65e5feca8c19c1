#pragma once
// The installer host's plug-in interface in its 64-bit, wide-character form,
// as far as Choose touches it.

#include "stack_entry.h"

// One entry of the host's string stack.
using stack_t = orvel::plugin::StackEntry;
// The host's callbacks and flags, handed to every plug-in function; Choose
// does not use them.
struct extra_parameters;
