// What a fuzz target does when a property it checks does not hold: say which, and abort, so
// that libFuzzer (or the replay driver) keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define QUORVEL_FUZZ_CHECK(condition)                                                          \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)
