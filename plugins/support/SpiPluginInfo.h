#pragma once
// Answers GetPluginInfo from a plug-in's fixed texts.
#include <cstdint>
#include <span>

namespace tam32::spi {

struct SpiFormat {
    const char* Mask;  // "*.ext" or "*.ext;*.ext2"
    const char* Description;
};

struct SpiPluginTexts {
    const char* ApiVersion;
    const char* Name;
    std::span<const SpiFormat> Formats;
};

// Copies entry InfoNo into Buf, cut to fit BufLen bytes with its terminator;
// the characters written, or 0 when there is no such entry.
int32_t AnswerPluginInfo(const SpiPluginTexts& Texts, int32_t InfoNo, char* Buf, int32_t BufLen);

}  // namespace tam32::spi
