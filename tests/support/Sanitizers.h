#pragma once

// Builds with AddressSanitizer (./test.sh --asan) keep freed memory in
// quarantine and run several times slower: memory figures mean nothing
// there and time limits stretch.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool UnderAddressSanitizer = true;
#else
constexpr bool UnderAddressSanitizer = false;
#endif

// Factor applied to the order-of-magnitude time limits of the tests.
constexpr int TimeLimitFactor = UnderAddressSanitizer ? 5 : 1;
