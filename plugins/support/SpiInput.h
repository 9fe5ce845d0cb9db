#pragma once
// The picture a plug-in is asked to read: the caller's memory, or the file
// it names, positioned at the given offset. Readers that stream take the
// file as it is; readers that need the whole picture at hand read it into
// memory (read, not mapped, so a file that shrinks meanwhile cannot bring
// the program down).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace tam32::spi {

class SpiInput {
public:
    SpiInput() = default;
    ~SpiInput();
    SpiInput(const SpiInput&) = delete;
    SpiInput& operator=(const SpiInput&) = delete;

    // SPI_SUCCESS, or SPI_FILE_READ_ERROR when the file cannot be opened or
    // holds nothing from the offset on.
    int32_t Open(const char* Buf, intptr_t Len, uint32_t Flag);
    // The open file at the picture's start; nullptr for a picture in memory.
    FILE* File() const { return FFile; }
    // Brings a file's picture into memory; SPI_SUCCESS, SPI_FILE_READ_ERROR or SPI_NO_MEMORY.
    int32_t ReadAll();
    // The picture in memory; nullptr for a file not read with ReadAll.
    const uint8_t* Data() const { return FData; }
    size_t Size() const { return FSize; }
    // The picture's length in bytes, in memory or in the file from its start:
    // what a file's declared sizes are weighed against.
    int64_t Length() const { return FFile != nullptr ? FFileBytes : static_cast<int64_t>(FSize); }

private:
    FILE* FFile = nullptr;
    int64_t FFileBytes = 0;
    const uint8_t* FData = nullptr;
    size_t FSize = 0;
    std::unique_ptr<uint8_t[]> FBuffer;
};

}  // namespace tam32::spi
