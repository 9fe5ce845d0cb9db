#include "app/StartUp.h"

#include <QApplication>
#include <clocale>

#include "analysis/core/GlobalSettings.h"
#include "image/PxDIB.h"
#include "import/SPIBitmap.h"
#include "platform/Bitmap.h"
#include "platform/PictureFormats.h"

namespace tam32 {

void StartUpApplication() {
    // Numbers are always shown and written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    InitializeUnits();
    QApplication::setApplicationName(QStringLiteral("TAM32"));
    QApplication::setFont(ApplicationFont());
}

void InitializeUnits() {
    static bool done = false;
    if (done) return;
    done = true;
    PictureFormats::RegisterFileFormat(QStringLiteral("bmp"), QStringLiteral("Bitmaps"), &TBitmap::ClassInfo);
    RegisterPxDIB();
    RegisterSPIBitmap();
    ResetSettingsToDefaults();
}

QFont ApplicationFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(12);
    return font;
}

}  // namespace tam32
