#pragma once
// Runs the body of an exported function so that no C++ exception leaves the
// plug-in: the host is C code as far as the plug-in knows.
#include <cstdint>
#include <new>

#include "platform/SpiAbi.h"

namespace tam32::spi {

template <class Body>
int32_t Guarded(Body&& Run) noexcept {
    try {
        return Run();
    } catch (const std::bad_alloc&) {
        return SPI_NO_MEMORY;
    } catch (...) {
        return SPI_INTERNAL_ERROR;
    }
}

}  // namespace tam32::spi
