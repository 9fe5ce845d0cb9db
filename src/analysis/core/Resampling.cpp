#include "analysis/core/Resampling.h"

#include "analysis/core/EngineHost.h"
#include "analysis/core/ExceptionText.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/core/RowProgress.h"
#include "import/SPIPxDIB.h"
#include "platform/Exceptions.h"
#include "platform/VectorState.h"

namespace tam32 {

namespace {

const TPxDIB& TwentyFourBit(const TPxDIB& Picture) {
    if (Picture.GetPixelFormat() != pxPf24Bit) throw ERangeError(kRangeCheckError);
    return Picture;
}

}  // namespace

// Reading rows leaves a shared store (a kept decoding) in place.
TBilinearSampler::TBilinearSampler(const TPxDIB& Source)
    : FPicture(TwentyFourBit(Source)) {}

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

void ForEachResultRowBlock(int Rows, const std::function<void(const TRowBlock&)>& Work) {
    const TRowProgress Progress(Rows);
    ClearUpperVectorState();  // loading the picture or the message texts may have left it dirty
    ForEachRowBlock(0, Rows - 1, Work, [&Progress](const TRowBlock& Block) {
        for (int Y = Block.First; Y <= Block.Last; ++Y) Progress.Show(Y + 1);
    });
}

bool SaveCorrectedPicture(TPxDIB& Picture, const QString& FileName) {
    try {
        Picture.SaveToFile(FileName);
        return false;
    } catch (const std::exception& E) {
        EngineHost().ShowMessage(ExceptionText(E));
    }
    return true;
}

}  // namespace tam32
