// Where the decoder's picture comes from: a file the plug-ins open by name,
// or a stream held in memory.
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "import/SPIDecoder.h"
#include "platform/Stream.h"

namespace tam32 {

void TInSPIAbleFromFile::ReadHeader(uint8_t* Buffer, int64_t Count) {
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly)) return;
    file.read(reinterpret_cast<char*>(Buffer), std::min<int64_t>(file.size(), Count));
}

int64_t TInSPIAbleFromFile::PictureSize() { return QFileInfo(FileName).size(); }

TInSPIAbleData::PictureArguments TInSPIAbleFromFile::Arguments(int32_t Offset) {
    return {EncodedFileName(), Offset, SPI_FLAG_FILE};
}

TInSPIAbleFromStream::TInSPIAbleFromStream(TGraphic* AOwner, const QString& AFileName, TStream& Stream)
    : TInSPIAbleData(AOwner, AFileName) {
    if (auto* memory = dynamic_cast<TMemoryStream*>(&Stream)) {
        Memory = memory->Memory();
        Size = memory->Size();
        return;
    }
    Size = Stream.Size();
    OwnStream = std::make_unique<TMemoryStream>();
    OwnStream->SetSize(Size);
    Stream.SetPosition(0);
    Stream.ReadBuffer(OwnStream->Memory(), Size);
    Memory = OwnStream->Memory();
}

TInSPIAbleFromStream::~TInSPIAbleFromStream() = default;

void TInSPIAbleFromStream::ReadHeader(uint8_t* Buffer, int64_t Count) {
    const int64_t n = std::min(Size, Count);
    if (n > 0) std::memcpy(Buffer, Memory, static_cast<size_t>(n));
}

TInSPIAbleData::PictureArguments TInSPIAbleFromStream::Arguments(int32_t Offset) {
    return {reinterpret_cast<const char*>(Memory) + Offset, static_cast<intptr_t>(Size - Offset), SPI_FLAG_MEMORY};
}

}  // namespace tam32
