// tam32-probe bmp info FILE
// tam32-probe bmp convert IN OUT FORMAT [--reduce low|high]
#include <cstdio>
#include <map>

#include "ProbeCommands.h"
#include "image/PxDIB.h"

namespace tam32::probe {
namespace {

int Info(const QStringList& Args) {
    if (Args.size() != 1) return kUsage;
    TPxDIB dib;
    dib.LoadFromFile(Args[0]);
    const BITMAPINFOHEADER& h = dib.DIB().Infos.Header;
    std::printf("%d %d %u %u %u\n", dib.Width(), dib.Height(), unsigned(h.biBitCount), unsigned(h.biCompression),
                unsigned(h.biClrUsed));
    return 0;
}

int Convert(const QStringList& Args) {
    static const std::map<QString, TPxPixelFormat> kFormats = {
        {QStringLiteral("1bit"), pxPf1Bit},          {QStringLiteral("4bit"), pxPf4Bit},
        {QStringLiteral("4bitrle"), pxPf4BitRLE},    {QStringLiteral("8bit"), pxPf8Bit},
        {QStringLiteral("8bitrle"), pxPf8BitRLE},    {QStringLiteral("24bit"), pxPf24Bit},
        {QStringLiteral("8bitdither"), pxPf8BitDither}, {QStringLiteral("1bitdither"), pxPf1BitDither},
    };
    if (Args.size() != 3 && !(Args.size() == 5 && Args[3] == QLatin1String("--reduce"))) return kUsage;
    const auto format = kFormats.find(Args[2]);
    if (format == kFormats.end()) return kUsage;
    TPxDIB dib;
    if (Args.size() == 5) {
        if (Args[4] == QLatin1String("high"))
            dib.ConvertMode = pxCmHigh;
        else if (Args[4] != QLatin1String("low"))
            return kUsage;
    }
    dib.LoadFromFile(Args[0]);
    dib.SetPixelFormat(format->second);
    dib.SaveToFile(Args[1]);
    return 0;
}

const RegisterProbeCommand kBmp({"bmp", "info FILE | convert IN OUT FORMAT [--reduce low|high]",
                                  [](const QStringList& Args) {
                                      if (Args.value(0) == QLatin1String("info")) return Info(Args.mid(1));
                                      if (Args.value(0) == QLatin1String("convert")) return Convert(Args.mid(1));
                                      return kUsage;
                                  }});

}  // namespace

}  // namespace tam32::probe
