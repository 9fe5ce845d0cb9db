#include "platform/SpecialFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <array>

namespace tam32 {
namespace {

constexpr int kFolderCount = static_cast<int>(TSpecialFolder::sfNone) + 1;
static_assert(kFolderCount == 49);

// In declared order.
constexpr std::array<int, kFolderCount> kFolderIds = {
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0D, 0x0E, 0x10, 0x11, 0x12,
    0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22,
    0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x2B, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x35, 0x36, 0x37, 0xFFFF,
};

constexpr std::array<uint32_t, 15> kBrowseFlags = {
    0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040, 0x0050,
    0x0080, 0x0100, 0x0200, 0x1000, 0x2000, 0x4000, 0x8000,
};

// The user's folders of the freedesktop layout; everything else (control
// panels, printers, the system's own folders) has no counterpart here.
std::optional<QStandardPaths::StandardLocation> LocationOf(TSpecialFolder Folder) {
    using S = TSpecialFolder;
    switch (Folder) {
        case S::sfDesktop:
        case S::sfDesktopDirectory: return QStandardPaths::DesktopLocation;
        case S::sfPersonal: return QStandardPaths::DocumentsLocation;
        case S::sfMyPictures: return QStandardPaths::PicturesLocation;
        case S::sfMyMusic: return QStandardPaths::MusicLocation;
        case S::sfMyVideo: return QStandardPaths::MoviesLocation;
        case S::sfFonts: return QStandardPaths::FontsLocation;
        case S::sfTemplates: return QStandardPaths::TemplatesLocation;
        case S::sfAppData: return QStandardPaths::GenericConfigLocation;
        case S::sfLocalAppData: return QStandardPaths::GenericDataLocation;
        case S::sfProfile: return QStandardPaths::HomeLocation;
        default: return std::nullopt;
    }
}

QString Normalised(const QString& Path) { return QDir::cleanPath(QFileInfo(Path).absoluteFilePath()); }

}  // namespace

int SpecialFolderId(TSpecialFolder Folder) { return kFolderIds.at(static_cast<size_t>(Folder)); }

std::optional<QString> SpecialFolderPath(TSpecialFolder Folder) {
    const std::optional<QStandardPaths::StandardLocation> Location = LocationOf(Folder);
    if (!Location) return std::nullopt;
    const QString Path = QStandardPaths::writableLocation(*Location);
    if (Path.isEmpty() || !QFileInfo(Path).isDir()) return std::nullopt;
    return Normalised(Path);
}

TSpecialFolder SpecialFolderOf(const QString& Path) {
    TSpecialFolder Found = TSpecialFolder::sfNone;
    if (Path.isEmpty()) return Found;
    const QString Wanted = Normalised(Path);
    for (int I = 0; I < kFolderCount; ++I) {
        const auto Folder = static_cast<TSpecialFolder>(I);
        if (SpecialFolderPath(Folder) == Wanted) Found = Folder;
    }
    return Found;
}

uint32_t BrowseInfoFlag(TBrowseInfoOption Option) { return kBrowseFlags.at(static_cast<size_t>(Option)); }

}  // namespace tam32
