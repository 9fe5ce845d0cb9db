#pragma once
// Loading a picture through the plug-ins or a native picture class, in an
// order the caller chooses, and turning a plug-in picture into another
// picture class through its BMP file image.
#include <QString>
#include <functional>
#include <memory>

#include "platform/Graphic.h"
#include "platform/PictureFormats.h"

namespace tam32 {

class TSPIGraphic;
class TStream;

// The loader a plug-in picture class publishes (always its own method).
using TSPILoadFromStreamWithNameEvent = std::function<void(TStream& Stream, const QString& FileName)>;

// A new picture of the first class (NativeClass first when NativeFirst, else
// PluginClass) that loads the file, with OnProgress as its handler. When
// neither does: EFOpenError when the file cannot be opened, else
// EPictureUnreadable with the more telling reason of the two.
std::unique_ptr<TGraphic> LoadGraphicFromFile(TGraphicClass PluginClass, const QString& FileName,
                                              TGraphicClass NativeClass, bool NativeFirst,
                                              const TProgressEvent& OnProgress);
// The same for a stream: the plug-in picture gets the name with the stream,
// and the stream goes back to where it was after a failed attempt.
std::unique_ptr<TGraphic> LoadGraphicFromStream(TGraphicClass PluginClass, TStream& Stream,
                                                const QString& FileName, TGraphicClass NativeClass,
                                                bool NativeFirst, const TProgressEvent& OnProgress);

// A new picture of TargetClass loaded from Source's BMP file image; Source
// is unchanged unless HandOverPixels lets the target take its pixel block
// (the image model's picture does) instead of copying it.
std::unique_ptr<TGraphic> SPIGraphicToGraphic(const TSPIGraphic& Source, TGraphicClass TargetClass,
                                              bool HandOverPixels = false);
// The same, releasing Source's decoded data afterwards: a target that takes
// the pixel block holds the only copy of the pixels; any other has its own
// copy alongside the decoded one only while it loads.
std::unique_ptr<TGraphic> ExtractGraphic(TSPIGraphic& Source, TGraphicClass TargetClass);

// One load of a picture class built on the plug-ins: Load gets the progress
// handler for the inner picture (Picture's own handler, with Picture as
// Sender and the ending report left out); afterwards, also when Load raised,
// Picture reports the end of loading itself.
template <class LoadFn>
void RunPictureLoad(TGraphic& Picture, LoadFn&& Load) {
    const TProgressEvent forward = [&Picture](TObject*, TProgressStage Stage, uint8_t PercentDone,
                                              bool RedrawNow, const TRect& R, const QString& Msg) {
        if (Stage != TProgressStage::psEnding && Picture.OnProgress)
            Picture.OnProgress(&Picture, Stage, PercentDone, RedrawNow, R, Msg);
    };
    const auto reportLoaded = [&Picture] {
        if (Picture.OnProgress)
            Picture.OnProgress(&Picture, TProgressStage::psEnding, 100, true,
                               Rect(0, 0, Picture.Width(), Picture.Height()), QStringLiteral("Loaded Graphic"));
    };
    try {
        Load(forward);
    } catch (...) {
        reportLoaded();
        throw;
    }
    reportLoaded();
}

}  // namespace tam32
