#pragma once

// Asks the processor to start loading the cache line at `address`, so that a lookup a few steps
// later finds it there. Only a hint: where the compiler offers none, it does nothing.
#if defined(__GNUC__) || defined(__clang__)
#define TARNWICK_PREFETCH(address) __builtin_prefetch(address)
#elif defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#include <xmmintrin.h>
#define TARNWICK_PREFETCH(address) _mm_prefetch(reinterpret_cast<const char*>(address), _MM_HINT_T0)
#else
#define TARNWICK_PREFETCH(address) ((void)(address))
#endif
