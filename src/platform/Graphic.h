#pragma once
// The picture base class: a graphic knows its size, draws itself onto a
// canvas, reads and writes itself through streams, files and clipboard
// blocks, and reports changes and progress to its owner.
#include <QString>
#include <cstdint>
#include <functional>

#include "platform/MemoryHandle.h"
#include "platform/Object.h"
#include "platform/Palette.h"
#include "platform/WinTypes.h"

namespace tam32 {

class TCanvas;
class TStream;

enum class TProgressStage { psStarting, psRunning, psEnding };

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TProgressEvent = std::function<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone,
                                          bool RedrawNow, const TRect& R, const QString& Msg)>;

class TGraphic : public TPersistent {
public:
    const char* ClassName() const override { return "TGraphic"; }

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    virtual bool Empty() const = 0;

    virtual void Draw(TCanvas& ACanvas, const TRect& Rect) = 0;

    virtual void LoadFromStream(TStream& Stream) = 0;
    virtual void SaveToStream(TStream& Stream) = 0;
    // Open the file as a stream (read / create) and pass it on.
    virtual void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName);

    virtual void LoadFromClipboardFormat(uint16_t AFormat, HGLOBAL AData, HPALETTE APalette) = 0;
    // The caller owns the returned block.
    virtual void SaveToClipboardFormat(uint16_t& AFormat, HGLOBAL& AData, HPALETTE& APalette) = 0;

    virtual HPALETTE GetPalette() { return nullptr; }
    virtual void SetPalette(HPALETTE) {}

    bool Modified() const { return FModified; }
    // True fires the change notification; false only clears the flag.
    void SetModified(bool Value);
    bool PaletteModified() const { return FPaletteModified; }
    void SetPaletteModified(bool Value) { FPaletteModified = Value; }

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

protected:
    // Marks the graphic modified and fires OnChange.
    virtual void Changed();
    void Progress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                  const TRect& R, const QString& Msg);

private:
    bool FModified = false;
    bool FPaletteModified = false;
};

}  // namespace tam32
