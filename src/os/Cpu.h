#pragma once

namespace s::os {

// What the processor offers beyond the instruction set the program is built
// for, asked once. Any thread; never fails.

// Whether code built for AVX2 (a function marked VONQ_TARGET_AVX2) may run.
// False where the build cannot make such code or the processor lacks it.
bool cpuHasAvx2();

}  // namespace s::os

// Marks a function to be built for AVX2 as well as the baseline, where the
// compiler can; empty elsewhere (cpuHasAvx2() is then false).
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define VONQ_TARGET_AVX2 [[gnu::target("avx2")]]
#define VONQ_HAS_AVX2_BUILD 1
#else
#define VONQ_TARGET_AVX2
#define VONQ_HAS_AVX2_BUILD 0
#endif
