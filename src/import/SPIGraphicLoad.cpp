#include "import/SPIGraphicLoad.h"

#include <exception>

#include "image/PxDIBTypes.h"
#include "import/SPIGraphic.h"
#include "import/UnreadablePicture.h"
#include "platform/Stream.h"

namespace tam32 {
namespace {

// What the failure of one picture class says about the picture. The native
// classes read BMP files: one that finds no BMP file knows nothing of the
// picture, and one that stops inside a BMP file found it damaged.
TPictureFault FaultOfCurrentException() {
    try {
        throw;
    } catch (const EPictureUnreadable& e) {
        return e.Fault();
    } catch (const EOutOfMemory&) {
        return TPictureFault::TooLarge;
    } catch (const std::bad_alloc&) {
        return TPictureFault::TooLarge;
    } catch (const EPxDIBInvalidDIBFile&) {
        return TPictureFault::NotAPicture;
    } catch (const EAbort&) {
        return TPictureFault::NotAPicture;
    } catch (const EInvalidGraphic&) {
        // The platform bitmap's answer for any data its reader refuses.
        return TPictureFault::NotAPicture;
    } catch (...) {
        return TPictureFault::Damaged;
    }
}

// Tries each class in order; the first picture that loads is the result.
// A file that cannot be opened is no question of its picture: that error
// (naming the file and the system's reason) is the one that passes on.
template <class LoadFn>
std::unique_ptr<TGraphic> FirstThatLoads(TGraphicClass First, TGraphicClass Second, const QString& FileName,
                                         const TProgressEvent& OnProgress, LoadFn&& Load) {
    TPictureFault fault = TPictureFault::NotAPicture;
    std::exception_ptr openFailure;
    for (TGraphicClass graphicClass : {First, Second}) {
        try {
            std::unique_ptr<TGraphic> graphic = graphicClass->Create();
            graphic->OnProgress = OnProgress;
            Load(*graphic, graphicClass);
            return graphic;
        } catch (const EFOpenError&) {
            openFailure = std::current_exception();
        } catch (...) {
            // The next class gets its chance.
            fault = MoreTelling(fault, FaultOfCurrentException());
        }
    }
    if (openFailure) std::rethrow_exception(openFailure);
    throw EPictureUnreadable(FileName, fault);
}

}  // namespace

std::unique_ptr<TGraphic> LoadGraphicFromFile(TGraphicClass PluginClass, const QString& FileName,
                                              TGraphicClass NativeClass, bool NativeFirst,
                                              const TProgressEvent& OnProgress) {
    return FirstThatLoads(NativeFirst ? NativeClass : PluginClass, NativeFirst ? PluginClass : NativeClass, FileName,
                          OnProgress, [&](TGraphic& Graphic, TGraphicClass) { Graphic.LoadFromFile(FileName); });
}

std::unique_ptr<TGraphic> LoadGraphicFromStream(TGraphicClass PluginClass, TStream& Stream,
                                                const QString& FileName, TGraphicClass NativeClass,
                                                bool NativeFirst, const TProgressEvent& OnProgress) {
    const int64_t position = Stream.Position();
    return FirstThatLoads(NativeFirst ? NativeClass : PluginClass, NativeFirst ? PluginClass : NativeClass, FileName,
                          OnProgress, [&](TGraphic& Graphic, TGraphicClass GraphicClass) {
                              try {
                                  auto* plugin = dynamic_cast<TSPIGraphic*>(&Graphic);
                                  if (GraphicClass == PluginClass && plugin != nullptr)
                                      plugin->LoadFromStreamWithName(Stream, FileName);
                                  else
                                      Graphic.LoadFromStream(Stream);
                              } catch (...) {
                                  Stream.SetPosition(position);
                                  throw;
                              }
                          });
}

std::unique_ptr<TGraphic> SPIGraphicToGraphic(const TSPIGraphic& Source, TGraphicClass TargetClass,
                                              bool HandOverPixels) {
    std::unique_ptr<TGraphic> target = TargetClass->Create();
    // The target reads the image straight from the decoded blocks.
    target->LoadFromStream(*Source.BitmapFile(HandOverPixels));
    return target;
}

std::unique_ptr<TGraphic> ExtractGraphic(TSPIGraphic& Source, TGraphicClass TargetClass) {
    try {
        // The data is freed next, so the target may keep the decoded pixels themselves.
        std::unique_ptr<TGraphic> target = SPIGraphicToGraphic(Source, TargetClass, true);
        Source.FreeData();
        return target;
    } catch (...) {
        Source.FreeData();
        throw;
    }
}

}  // namespace tam32
