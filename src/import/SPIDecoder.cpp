#include "import/SPIDecoder.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <utility>

#include "image/PxDIBTypes.h"
#include "import/SPIExceptions.h"
#include "import/SPIs.h"
#include "platform/MulDiv.h"

namespace tam32 {
namespace {

// The plug-ins may read SPI_HEADER_BYTES from either start offset.
constexpr int64_t kHeaderBufferSize = 2176;
static_assert(kHeaderBufferSize >= MacBinaryOffsets[1] + SPI_HEADER_BYTES);

// What a plug-in's failure says about the picture it took on.
TPictureFault FaultOfResult(int32_t Result) {
    switch (Result) {
        case SPI_NO_MEMORY: case SPI_MEMORY_ERROR: return TPictureFault::TooLarge;
        // A picture the plug-in turns down after all, or a stop the host asked for.
        case SPI_NOT_IMPLEMENTED: case SPI_UNKNOWN_FORMAT: case SPI_ABORTED: return TPictureFault::NotAPicture;
        default: return TPictureFault::Damaged;
    }
}

}  // namespace

TInSPIAbleData::TInSPIAbleData(TGraphic* AOwner, const QString& AFileName)
    : FileName(AFileName), Owner(AOwner), FEncodedFileName(QFile::encodeName(AFileName)) {}

TInSPIAbleData::~TInSPIAbleData() { FreeHandles(); }

void TInSPIAbleData::Report(TProgressStage Stage, uint8_t PercentDone, const QString& Msg) {
    if (OnProgress) OnProgress(Owner, Stage, PercentDone, Stage == TProgressStage::psEnding, TRect{}, Msg);
}

void TInSPIAbleData::LoadGraphic() {
    TSPIs* host = GetSPIs();
    const bool useMacBinary = host != nullptr && host->MacBinary;
    Report(TProgressStage::psStarting, 0, QStringLiteral("Loading Graphic by Susie Plugin"));
    FreeHandles();
    FFault = TPictureFault::NotAPicture;
    Report(TProgressStage::psRunning, 1, QStringLiteral("Seeking enabled Susie Plugins"));
    try {
        std::vector<TSPI*> candidates;
        if (host != nullptr) {
            const TSPIClass kinds[] = {&TInSPI::ClassInfo};
            host->GetSupportedSPIs(kinds, FileName, candidates);
        }
        FHeader.assign(kHeaderBufferSize, 0);
        ReadHeader(FHeader.data(), kHeaderBufferSize);
        const int64_t size = PictureSize();
        bool decoded = false;
        for (size_t i = 0; i < candidates.size() && !decoded; ++i) {
            const auto& spi = static_cast<const TInSPI&>(*candidates[i]);
            for (int32_t offset : MacBinaryOffsets) {
                // A picture must start inside the data it is offered in.
                if (offset != 0 && (!useMacBinary || size <= offset)) break;
                Report(TProgressStage::psRunning, 1,
                       QStringLiteral("Loading by [%1]").arg(QFileInfo(spi.FileName).fileName()));
                LoadBy(spi, offset);
                decoded = !IsEmpty();
                if (decoded) break;
                FreeHandles();
            }
        }
    } catch (...) {
        Report(TProgressStage::psEnding, 100, QStringLiteral("Loaded Graphic by Susie Plugin"));
        throw;
    }
    Report(TProgressStage::psEnding, 100, QStringLiteral("Loaded Graphic by Susie Plugin"));
}

void TInSPIAbleData::LoadBy(const TInSPI& SPI, int32_t Offset) {
    if (SPI.IsSupported(EncodedFileName(), reinterpret_cast<uintptr_t>(FHeader.data() + Offset)) == 0)
        return;
    const PictureArguments args = Arguments(Offset);
    // A failed call may leave anything in the record; only a successful
    // one hands over hInfo.
    PictureInfo = SpiPictureInfo{};
    PictureInfoValid = SPI.GetPictureInfo(args.Buf, args.Len, args.Flag, PictureInfo) == 0;
    if (!PictureInfoValid) PictureInfo.hInfo = nullptr;
    const TSPIs* host = GetSPIs();
    if (host != nullptr && host->GraphicPreview) {
        TakePicture(SPI, args, true);
        if (IsEmpty()) TakePicture(SPI, args, false);
    } else {
        TakePicture(SPI, args, false);
    }
}

void TInSPIAbleData::TakePicture(const TInSPI& SPI, const PictureArguments& Args, bool Preview) {
    SpiHandle info = nullptr;
    SpiHandle bits = nullptr;
    const auto lData = reinterpret_cast<intptr_t>(this);
    int32_t result;
    if (Preview) {
        try {
            result = SPI.GetPreview(Args.Buf, Args.Len, Args.Flag, info, bits, &ProgressCallback, lData);
        } catch (const ESPIInvalidAPI&) {
            HBInfo = HBm = nullptr;
            return;
        }
    } else if (TDecodedRowsWatch::Active() != nullptr && SPI.TellsRows()) {
        FRowsTold = false;
        result = SPI.GetPictureRows(Args.Buf, Args.Len, Args.Flag, info, bits, &ProgressCallback, &RowsCallback,
                                    lData);
    } else {
        result = SPI.GetPicture(Args.Buf, Args.Len, Args.Flag, info, bits, &ProgressCallback, lData);
    }
    if (result != 0) {
        FFault = MoreTelling(FFault, FaultOfResult(result));
        // A plug-in withdraws its rows before it frees them; this is for one that does not.
        WithdrawRows();
        // What a failing plug-in left in the handles is not the host's to free.
        HBInfo = HBm = nullptr;
        RethrowPending();
        return;
    }
    HBInfo = static_cast<HLOCAL>(info);
    HBm = static_cast<HLOCAL>(bits);
    if (FPending) {
        DiscardDecoded();
        RethrowPending();
    }
    const std::optional<TSPIDIBLayout> layout = CheckDecodedDIB(HBInfo, HBm);
    if (layout) {
        FLayout = *layout;
    } else {
        FFault = MoreTelling(FFault, TPictureFault::Damaged);
        DiscardDecoded();
    }
}

void TInSPIAbleData::DiscardDecoded() {
    WithdrawRows();
    // LocalFree leaves alone what is not a live handle.
    LocalFree(HBInfo);
    if (HBm != HBInfo) LocalFree(HBm);
    HBInfo = HBm = nullptr;
}

void TInSPIAbleData::RethrowPending() {
    if (FPending) std::rethrow_exception(std::exchange(FPending, nullptr));
}

int32_t TInSPIAbleData::ProgressCallback(int32_t Num, int32_t Denom, intptr_t Data) {
    auto* self = reinterpret_cast<TInSPIAbleData*>(Data);
    return self != nullptr ? self->PluginProgress(Num, Denom) : 0;
}

void TInSPIAbleData::RowsCallback(SpiHandle Info, SpiHandle Bits, int32_t RowsDone, intptr_t Data) {
    if (auto* self = reinterpret_cast<TInSPIAbleData*>(Data)) self->PluginRows(Info, Bits, RowsDone);
}

void TInSPIAbleData::PluginRows(SpiHandle Info, SpiHandle Bits, int32_t RowsDone) {
    if (RowsDone < 0) return WithdrawRows();
    TDecodedRowsWatch* watch = TDecodedRowsWatch::Active();
    if (watch == nullptr || FPending) return;
    // As with the progress handler, nothing may unwind through the plug-in.
    try {
        // The layout is read once: checking the blocks for every row would cost as much as the rows.
        if (!FRowsTold && !ReadRowLayout(static_cast<HLOCAL>(Info), static_cast<HLOCAL>(Bits))) return;
        FRows.Done = std::min(int(RowsDone), FRows.Height);
        FRowsTold = true;
        watch->RowsDecoded(FRows);
    } catch (...) {
        FPending = std::current_exception();
    }
}

bool TInSPIAbleData::ReadRowLayout(HLOCAL Info, HLOCAL Bits) {
    const std::optional<TSPIDIBLayout> layout = CheckDecodedDIB(Info, Bits);
    if (!layout) return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, MemoryLock(Info).Data(), sizeof header);
    if (header.biCompression != BI_RGB) return false;
    // Handles never move: the address stays good after the lock.
    const auto* block = static_cast<const uint8_t*>(MemoryLock(Bits).Data());
    const int height = layout->Height < 0 ? -layout->Height : layout->Height;
    const auto stride = std::ptrdiff_t(DIBRowSize(header.biBitCount, layout->Width));
    const bool bottomUp = layout->Height > 0;
    FRows = {bottomUp ? block + stride * (height - 1) : block, bottomUp ? -stride : stride, layout->Width, height,
             header.biBitCount, 0};
    return true;
}

void TInSPIAbleData::WithdrawRows() {
    if (!FRowsTold) return;
    FRowsTold = false;
    try {
        if (TDecodedRowsWatch* watch = TDecodedRowsWatch::Active()) watch->RowsWithdrawn();
    } catch (...) {
        if (!FPending) FPending = std::current_exception();
    }
}

int32_t TInSPIAbleData::PluginProgress(int32_t Num, int32_t Denom) {
    if (!OnProgress) return 0;
    // Once the handler has failed, the plug-in is only asked to stop.
    if (FPending) return 1;
    // No exception may unwind through the plug-in's frames: it is kept and
    // raised again when the plug-in has returned.
    try {
        const auto percent = static_cast<uint8_t>((static_cast<int64_t>(MulDiv(Num, 97, Denom)) + 2) & 0xFF);
        Report(TProgressStage::psRunning, percent, QString());
        return 0;
    } catch (const EAbort&) {
        return 1;
    } catch (...) {
        FPending = std::current_exception();
        return 1;
    }
}

const uint8_t* TInSPIAbleData::GetBitmapInfo() {
    if (FBitmapInfo == nullptr && HBInfo != nullptr) FBitmapInfo = LocalLock(HBInfo);
    return static_cast<const uint8_t*>(FBitmapInfo);
}

const uint8_t* TInSPIAbleData::GetBits() {
    if (FBits == nullptr && HBm != nullptr) FBits = LocalLock(HBm);
    return static_cast<const uint8_t*>(FBits);
}

HLOCAL TInSPIAbleData::TakeBits() {
    if (HBm == nullptr) return nullptr;
    if (FBits != nullptr) LocalUnlock(HBm);
    FBits = nullptr;
    return std::exchange(HBm, nullptr);
}

void TInSPIAbleData::FreeHandles() {
    if (FBitmapInfo != nullptr) LocalUnlock(HBInfo);
    if (FBits != nullptr) LocalUnlock(HBm);
    FBitmapInfo = FBits = nullptr;
    LocalFree(HBInfo);
    LocalFree(HBm);
    HBInfo = HBm = nullptr;
    if (PictureInfoValid) LocalFree(static_cast<HLOCAL>(PictureInfo.hInfo));
    PictureInfo.hInfo = nullptr;
}

}  // namespace tam32
