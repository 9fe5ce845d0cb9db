#include "analysis/core/RowProgress.h"

#include "analysis/core/EngineHost.h"
#include "analysis/core/Messages.h"
#include "analysis/core/RowBlocks.h"
#include "platform/DelphiFormat.h"
#include "platform/Exceptions.h"

namespace tam32 {

TRowProgress::TRowProgress(int Rows) : FRows(Rows), FText(GetDialogMessage(QStringLiteral("DMS29"))) {
    try {
        Format(FText, {1, 1});
    } catch (const EConvertError&) {
        FText = FText.replace(QLatin1Char('%'), QStringLiteral("%%")) + QStringLiteral(" %d %d");
    }
}

void ShowLinesFinished(const TRowBlock& Block) {
    for (int Y = Block.First; Y <= Block.Last; ++Y)
        EngineHost().SetStatusText(QString::number(Y) + QStringLiteral(" Line Finished!"));
}

void TRowProgress::Show(int Row) const { EngineHost().SetStatusText(Format(FText, {Row, FRows})); }

}  // namespace tam32
