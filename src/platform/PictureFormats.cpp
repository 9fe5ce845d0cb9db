#include "platform/PictureFormats.h"

#include <algorithm>

namespace tam32::PictureFormats {
namespace {

struct ClipboardFormat {
    uint16_t Format;
    TGraphicClass GraphicClass;
};

std::vector<TFileFormat>& FileList() {
    static std::vector<TFileFormat> list;
    return list;
}

std::vector<ClipboardFormat>& ClipboardList() {
    static std::vector<ClipboardFormat> list;
    return list;
}

QString NormalisedExtension(const QString& Extension) {
    QString ext = Extension.toLower();
    if (ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
    return ext;
}

}  // namespace

void RegisterFileFormat(const QString& Extension, const QString& Description, TGraphicClass Class) {
    FileList().push_back({NormalisedExtension(Extension), Description, Class});
}

void RegisterClipboardFormat(uint16_t Format, TGraphicClass Class) {
    ClipboardList().push_back({Format, Class});
}

void UnregisterGraphicClass(TGraphicClass Class) {
    auto& files = FileList();
    files.erase(std::remove_if(files.begin(), files.end(),
                               [Class](const TFileFormat& f) { return f.GraphicClass == Class; }),
                files.end());
    auto& clips = ClipboardList();
    clips.erase(std::remove_if(clips.begin(), clips.end(),
                               [Class](const ClipboardFormat& f) { return f.GraphicClass == Class; }),
                clips.end());
}

TGraphicClass FindFileFormat(const QString& Extension) {
    const QString ext = NormalisedExtension(Extension);
    const auto& files = FileList();
    for (auto it = files.rbegin(); it != files.rend(); ++it)
        if (it->Extension == ext) return it->GraphicClass;
    return nullptr;
}

TGraphicClass FindClipboardFormat(uint16_t Format) {
    const auto& clips = ClipboardList();
    for (auto it = clips.rbegin(); it != clips.rend(); ++it)
        if (it->Format == Format) return it->GraphicClass;
    return nullptr;
}

std::vector<TFileFormat> FileFormats() { return FileList(); }

}  // namespace tam32::PictureFormats
