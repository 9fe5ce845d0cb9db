#include "import/SPIGraphicLoad.h"

#include "import/SPIGraphic.h"
#include "platform/Stream.h"

namespace tam32 {
namespace {

// Tries each class in order; the first picture that loads is the result.
template <class LoadFn>
std::unique_ptr<TGraphic> FirstThatLoads(TGraphicClass First, TGraphicClass Second,
                                         const TProgressEvent& OnProgress, LoadFn&& Load) {
    for (TGraphicClass graphicClass : {First, Second}) {
        try {
            std::unique_ptr<TGraphic> graphic = graphicClass->Create();
            graphic->OnProgress = OnProgress;
            Load(*graphic, graphicClass);
            return graphic;
        } catch (...) {
            // The next class gets its chance.
        }
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<TGraphic> LoadGraphicFromFile(TGraphicClass PluginClass, const QString& FileName,
                                              TGraphicClass NativeClass, bool NativeFirst,
                                              const TProgressEvent& OnProgress) {
    return FirstThatLoads(NativeFirst ? NativeClass : PluginClass, NativeFirst ? PluginClass : NativeClass,
                          OnProgress, [&](TGraphic& Graphic, TGraphicClass) { Graphic.LoadFromFile(FileName); });
}

std::unique_ptr<TGraphic> LoadGraphicFromStream(TGraphicClass PluginClass, TStream& Stream,
                                                const QString& FileName, TGraphicClass NativeClass,
                                                bool NativeFirst, const TProgressEvent& OnProgress) {
    const int64_t position = Stream.Position();
    return FirstThatLoads(NativeFirst ? NativeClass : PluginClass, NativeFirst ? PluginClass : NativeClass,
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
