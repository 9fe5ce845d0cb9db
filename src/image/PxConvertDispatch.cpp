// The store's pixel-format change: a chain of conversions for every pair of
// source and target format, built aside and installed only when the whole
// chain has succeeded.
#include <functional>

#include "image/PxConvert.h"
#include "image/PxInternalDIB.h"
#include "image/PxMemory.h"
#include "image/PxReduce.h"

namespace tam32 {
namespace {

using TConversionStep = std::function<void(const TPxDIBInfos& Source, TPxDIBInfos& Dest)>;

// Runs the steps one after the other, each on the result of the one before.
// At most two new pixel blocks live at a time, and each is freed when the
// next step has replaced it or a step fails.
class TConversionChain {
public:
    TConversionChain(const TPxDIBInfos& Original, bool UseFileMapping)
        : FOriginal(Original), FUseFileMapping(UseFileMapping), FResultGuard(FResult, UseFileMapping) {}

    void Run(const TConversionStep& Step) {
        TPxDIBInfos next;
        TPxBitsGuard nextGuard(next, FUseFileMapping);
        Step(FHasResult ? FResult : FOriginal, next);
        FreeMemory(FResult.MappingHandle, FResult.Bits, FUseFileMapping);
        FResult = next;
        nextGuard.Release();
        FHasResult = true;
    }

    // Hands the final record over to the store.
    void InstallInto(TPxInternalDIB& Store) {
        Store.Install(FResult);
        FResultGuard.Release();
    }

private:
    const TPxDIBInfos& FOriginal;
    bool FUseFileMapping;
    TPxDIBInfos FResult;
    bool FHasResult = false;
    TPxBitsGuard FResultGuard;
};

// The uncompressed format behind a stored format.
TPxPixelFormat Uncompressed(TPxPixelFormat Format) {
    switch (Format) {
    case pxPf4BitRLE: return pxPf4Bit;
    case pxPf8BitRLE: return pxPf8Bit;
    default: return Format;
    }
}

}  // namespace

void NoConversion() {}

void TPxInternalDIB::ConvertPixelFormat(TPxPixelFormat Target, TPxConvertMode ConvertMode,
                                        TPxProgressCallback Callback, void* Data, TColor MonoColor) {
    if (Target > pxPf1BitDither)
        throw EPxDIBInvalidDIBPara(QStringLiteral("TPxInternalDIB.ConvertPixelFormat: Invalid Pixel Format"));
    const TPxPixelFormat current = GetPixelFormat();
    // Installing after an empty chain would free the live pixels.
    if (Target == current) return;

    const bool useMapping = UseFileMapping;
    TConversionChain chain(Infos, useMapping);
    // Steps of the conversion routines' shared form, bound to this store's memory kind.
    const auto step = [useMapping](void (*Routine)(const TPxDIBInfos&, TPxDIBInfos&, bool)) {
        return [Routine, useMapping](const TPxDIBInfos& S, TPxDIBInfos& D) { Routine(S, D, useMapping); };
    };
    const auto reduce = [useMapping, Callback, Data](
                            void (*Routine)(const TPxDIBInfos&, TPxDIBInfos&, bool, TPxProgressCallback, void*)) {
        return [=](const TPxDIBInfos& S, TPxDIBInfos& D) { Routine(S, D, useMapping, Callback, Data); };
    };
    const auto toMono = [useMapping, MonoColor](void (*Routine)(const TPxDIBInfos&, TPxDIBInfos&, bool, TColor)) {
        return [=](const TPxDIBInfos& S, TPxDIBInfos& D) { Routine(S, D, useMapping, MonoColor); };
    };

    // Compressed images are decoded first, whatever the target.
    if (current == pxPf4BitRLE) chain.Run(step(Convert4BitRLETo4BitRGB));
    if (current == pxPf8BitRLE) chain.Run(step(Convert8BitRLETo8BitRGB));
    const TPxPixelFormat from = Uncompressed(current);

    if (Target == pxPf8BitDither || Target == pxPf1BitDither) {
        chain.Run(step(Target == pxPf8BitDither ? DitherToFixed8Bit : DitherTo1Bit));
        chain.InstallInto(*this);
        return;
    }

    const TPxPixelFormat to = Uncompressed(Target);
    const bool high = ConvertMode == pxCmHigh;
    if (from != to) {
        switch (from * 8 + to) {
        case pxPf1Bit * 8 + pxPf4Bit: chain.Run(step(Convert1BitRGBTo4BitRGB)); break;
        case pxPf1Bit * 8 + pxPf8Bit: chain.Run(step(Convert1BitRGBTo8BitRGB)); break;
        case pxPf1Bit * 8 + pxPf24Bit: chain.Run(step(Convert1BitRGBToTrueColor)); break;
        case pxPf4Bit * 8 + pxPf1Bit: chain.Run(toMono(Convert4BitRGBTo1BitRGB)); break;
        case pxPf4Bit * 8 + pxPf8Bit: chain.Run(step(Convert4BitRGBTo8BitRGB)); break;
        case pxPf4Bit * 8 + pxPf24Bit: chain.Run(step(Convert4BitRGBToTrueColor)); break;
        case pxPf8Bit * 8 + pxPf1Bit: chain.Run(toMono(Convert8BitTo1BitRGB)); break;
        case pxPf8Bit * 8 + pxPf4Bit: chain.Run(reduce(Convert8BitRGBTo4BitRGB)); break;
        case pxPf8Bit * 8 + pxPf24Bit: chain.Run(step(Convert8BitRGBToTrueColor)); break;
        case pxPf24Bit * 8 + pxPf1Bit: chain.Run(toMono(ConvertTrueColorTo1BitRGB)); break;
        case pxPf24Bit * 8 + pxPf4Bit:
            chain.Run(reduce(high ? ConvertTrueColorTo4BitRGBHigh : ConvertTrueColorTo4BitRGBLow));
            break;
        case pxPf24Bit * 8 + pxPf8Bit:
            chain.Run(reduce(high ? ConvertTrueColorTo8BitRGBHigh : ConvertTrueColorTo8BitRGBLow));
            break;
        }
    }
    if (Target == pxPf4BitRLE) chain.Run(step(Convert4BitRGBTo4BitRLE));
    if (Target == pxPf8BitRLE) chain.Run(step(Convert8BitRGBTo8BitRLE));
    chain.InstallInto(*this);
}

}  // namespace tam32
