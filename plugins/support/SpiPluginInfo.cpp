#include "support/SpiPluginInfo.h"

#include <algorithm>
#include <cstring>

namespace tam32::spi {

int32_t AnswerPluginInfo(const SpiPluginTexts& Texts, int32_t InfoNo, char* Buf, int32_t BufLen) {
    const char* text = nullptr;
    if (InfoNo == 0) {
        text = Texts.ApiVersion;
    } else if (InfoNo == 1) {
        text = Texts.Name;
    } else if (InfoNo >= 2 && static_cast<size_t>(InfoNo - 2) / 2 < Texts.Formats.size()) {
        const SpiFormat& format = Texts.Formats[static_cast<size_t>(InfoNo - 2) / 2];
        text = InfoNo % 2 == 0 ? format.Mask : format.Description;
    }
    if (text == nullptr || Buf == nullptr || BufLen < 1) return 0;
    const size_t length = std::min(std::strlen(text), static_cast<size_t>(BufLen - 1));
    std::memcpy(Buf, text, length);
    Buf[length] = '\0';
    return static_cast<int32_t>(length);
}

}  // namespace tam32::spi
