#pragma once
// Round and Trunc with the original's semantics: Round takes an exact half to
// the even neighbour, Trunc goes toward zero, and a value that does not fit
// (or NaN) raises instead of giving an undefined result.
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "platform/Exceptions.h"

namespace tam32 {

namespace detail {
inline int64_t CheckedToInt64(long double v) {
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr long double kLimit = 9223372036854775808.0L;
    if (!(v > -kLimit - 1.0L && v < kLimit)) throw EInvalidOp(kInvalidFloatOp);
    return static_cast<int64_t>(v);
}
inline int32_t CheckedToInt32(int64_t v) {
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        throw ERangeError(kRangeCheckError);
    return static_cast<int32_t>(v);
}
}  // namespace detail

// Halves to even (the default rounding mode of std::nearbyint).
inline int64_t Round(long double v) { return detail::CheckedToInt64(std::nearbyint(v)); }
inline int64_t Trunc(long double v) { return detail::CheckedToInt64(std::trunc(v)); }
// The same, for a 32-bit Integer destination.
inline int32_t RoundInt(long double v) { return detail::CheckedToInt32(Round(v)); }
inline int32_t TruncInt(long double v) { return detail::CheckedToInt32(Trunc(v)); }

// Narrowing with a range check, as the original's range checks did.
template <typename To, typename From>
To CheckedCast(From v) {
    if (!std::in_range<To>(v)) throw ERangeError(kRangeCheckError);
    return static_cast<To>(v);
}

}  // namespace tam32
