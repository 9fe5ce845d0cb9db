#include "support/SpiInput.h"

#include <sys/stat.h>

#include <new>

#include "platform/SpiAbi.h"

namespace tam32::spi {

SpiInput::~SpiInput() {
    if (FFile != nullptr) std::fclose(FFile);
}

int32_t SpiInput::Open(const char* Buf, intptr_t Len, uint32_t Flag) {
    if (Buf == nullptr || Len < 0) return SPI_FILE_READ_ERROR;
    if (Flag == SPI_FLAG_MEMORY) {
        FData = reinterpret_cast<const uint8_t*>(Buf);
        FSize = static_cast<size_t>(Len);
        return SPI_SUCCESS;
    }
    FFile = std::fopen(Buf, "rbe");
    struct stat status;
    if (FFile == nullptr || fstat(fileno(FFile), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= Len ||
        fseeko(FFile, Len, SEEK_SET) != 0)
        return SPI_FILE_READ_ERROR;
    FFileBytes = status.st_size - Len;
    return SPI_SUCCESS;
}

int32_t SpiInput::ReadAll() {
    if (FFile == nullptr) return FData != nullptr ? SPI_SUCCESS : SPI_FILE_READ_ERROR;
    FBuffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(FFileBytes)]);
    if (FBuffer == nullptr) return SPI_NO_MEMORY;
    // A file that shrank meanwhile is read as far as it goes.
    const size_t read = std::fread(FBuffer.get(), 1, static_cast<size_t>(FFileBytes), FFile);
    if (read == 0) return SPI_FILE_READ_ERROR;
    FData = FBuffer.get();
    FSize = read;
    return SPI_SUCCESS;
}

}  // namespace tam32::spi
