#pragma once
// The platform's multiply-divide: A * B / C in 64 bits, rounded half away
// from zero; -1 for a zero divisor or a result outside 32 bits.
#include <cstdint>
#include <limits>

namespace tam32 {

constexpr int32_t MulDiv(int32_t A, int32_t B, int32_t C) {
    if (C == 0) return -1;
    const int64_t product = static_cast<int64_t>(A) * B;
    const int64_t divisor = C;
    const bool negative = (product < 0) != (divisor < 0);
    const int64_t magnitude = product < 0 ? -product : product;
    const int64_t denominator = divisor < 0 ? -divisor : divisor;
    const int64_t quotient = (magnitude + denominator / 2) / denominator;
    const int64_t result = negative ? -quotient : quotient;
    if (result < std::numeric_limits<int32_t>::min() || result > std::numeric_limits<int32_t>::max()) return -1;
    return static_cast<int32_t>(result);
}

}  // namespace tam32
