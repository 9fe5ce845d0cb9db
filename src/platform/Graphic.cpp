#include "platform/Graphic.h"

#include "platform/Exceptions.h"
#include "platform/FileSave.h"
#include "platform/Stream.h"

namespace tam32 {

void TGraphic::LoadFromFile(const QString& FileName) {
    TFileStream stream(FileName);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const QString& FileName) {
    SaveFileAtomically(FileName, [this](TStream& Stream) { SaveToStream(Stream); });
}

void TGraphic::SetModified(bool Value) {
    if (Value)
        Changed();
    else
        FModified = false;
}

void TGraphic::Changed() {
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::Progress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                        const TRect& R, const QString& Msg) {
    if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

}  // namespace tam32
