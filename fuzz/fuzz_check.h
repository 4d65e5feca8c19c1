#pragma once
// An invariant of a fuzz target. A violation prints what broke and aborts,
// which libFuzzer reports as a crash and saves the input for.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (false)
