#pragma once
// A fixed array whose index is checked, as the original's range checks did:
// an index outside the bounds raises ERangeError instead of touching memory
// that belongs to something else.
#include <array>
#include <cstddef>
#include <utility>

#include "platform/Exceptions.h"

namespace tam32 {

template <typename T, std::size_t N>
struct TCheckedArray : std::array<T, N> {
    template <typename Index>
    T& operator[](Index I) {
        return std::array<T, N>::operator[](Checked(I));
    }
    template <typename Index>
    const T& operator[](Index I) const {
        return std::array<T, N>::operator[](Checked(I));
    }

private:
    template <typename Index>
    static std::size_t Checked(Index I) {
        if (!std::in_range<std::size_t>(I) || static_cast<std::size_t>(I) >= N) throw ERangeError(kRangeCheckError);
        return static_cast<std::size_t>(I);
    }
};

}  // namespace tam32
