#pragma once
// The picture-format registry: file extensions and clipboard formats mapped
// to graphic classes. Lookups search from the latest registration backwards,
// so a later registration of an extension takes precedence.
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace tam32 {

class TGraphic;

struct TGraphicClassInfo {
    const char* Name;
    std::unique_ptr<TGraphic> (*Create)();
};
using TGraphicClass = const TGraphicClassInfo*;

struct TFileFormat {
    QString Extension;  // lower case, without the dot
    QString Description;
    TGraphicClass GraphicClass;
};

namespace PictureFormats {

void RegisterFileFormat(const QString& Extension, const QString& Description, TGraphicClass Class);
void RegisterClipboardFormat(uint16_t Format, TGraphicClass Class);
// Removes every file and clipboard registration of the class.
void UnregisterGraphicClass(TGraphicClass Class);

// nullptr when nothing is registered; the extension may carry a dot.
TGraphicClass FindFileFormat(const QString& Extension);
TGraphicClass FindClipboardFormat(uint16_t Format);
// In registration order.
std::vector<TFileFormat> FileFormats();

}  // namespace PictureFormats
}  // namespace tam32
