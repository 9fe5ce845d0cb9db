#include "analysis/Resampling.h"

#include "analysis/EngineHost.h"
#include "import/SPIPxDIB.h"
#include "platform/Exceptions.h"

namespace tam32 {

TBilinearSampler::TBilinearSampler(const TPxDIB& Source) : FWidth(Source.Width()), FHeight(Source.Height()) {
    if (Source.GetPixelFormat() != pxPf24Bit) throw ERangeError(kRangeCheckError);
    // Rows for reading leave a shared store (a kept decoding) in place.
    FRows.reserve(std::size_t(FHeight));
    for (int Y = 0; Y < FHeight; ++Y) FRows.push_back(Source.ReadScanLine(Y));
}

TResultPicture::TResultPicture(int Width, int Height, TRows Rows)
    : FWidth(Width), FHeight(Height), FPicture(std::make_unique<TSPIPxDIB>()) {
    FPicture->SetBitCount(24);
    FPicture->SetWidth(Width);
    FPicture->SetHeight(Height);
    FRows.reserve(std::size_t(Height));
    for (int Y = 0; Y < Height; ++Y)
        FRows.push_back(FPicture->GetScanLine(Rows == TRows::TopDown ? Y : Height - 1 - Y));
}

TResultPicture::~TResultPicture() = default;

std::unique_ptr<TSPIPxDIB> TResultPicture::Take() {
    FRows.clear();
    return std::move(FPicture);
}

bool SaveCorrectedPicture(TPxDIB& Picture, const QString& FileName) {
    try {
        Picture.SaveToFile(FileName);
        return false;
    } catch (const Exception& E) {
        EngineHost().ShowMessage(E.Message());
    } catch (const std::exception& E) {
        EngineHost().ShowMessage(QString::fromLocal8Bit(E.what()));
    }
    return true;
}

}  // namespace tam32
