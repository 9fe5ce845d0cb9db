#include "platform/VectorState.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tam32 {

#if defined(__x86_64__)
namespace {

__attribute__((target("avx"))) void ZeroUpper() { _mm256_zeroupper(); }

}  // namespace

void ClearUpperVectorState() {
    // The instruction exists only on processors with AVX.
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) ZeroUpper();
}
#else
void ClearUpperVectorState() {}
#endif

}  // namespace tam32
