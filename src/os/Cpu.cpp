#include "os/Cpu.h"

namespace s::os {

bool cpuHasAvx2() {
#if VONQ_HAS_AVX2_BUILD
  static const bool avx2 = __builtin_cpu_supports("avx2");
  return avx2;
#else
  return false;
#endif
}

}  // namespace s::os
