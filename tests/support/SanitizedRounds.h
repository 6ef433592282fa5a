#pragma once

// A build with AddressSanitizer runs each comparison several times slower, and the test command
// runs both builds: there the random tests make a share of their rounds, and the release build,
// which has the same tests, all of them.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kRoundShare = 2;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr int kRoundShare = 2;
#else
inline constexpr int kRoundShare = 1;
#endif
#else
inline constexpr int kRoundShare = 1;
#endif

// How many of `rounds` random rounds this build makes.
constexpr int Rounds(int rounds) {
    return rounds / kRoundShare;
}
