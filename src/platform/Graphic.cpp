#include "platform/Graphic.h"

#include <QSaveFile>

#include "platform/Exceptions.h"
#include "platform/Stream.h"

namespace tam32 {

void TGraphic::LoadFromFile(const QString& FileName) {
    TFileStream stream(FileName, FileMode::OpenRead);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const QString& FileName) {
    // The picture is written aside and put in place whole, so a failed save
    // never leaves a truncated file where a good one was.
    TMemoryStream memory;
    SaveToStream(memory);
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, file.errorString()));
    const auto size = static_cast<qint64>(memory.Data().size());
    if (file.write(reinterpret_cast<const char*>(memory.Data().data()), size) != size || !file.commit())
        throw EWriteError(QStringLiteral("Stream write error"));
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
