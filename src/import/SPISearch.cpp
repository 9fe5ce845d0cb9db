// Finding the plug-in libraries: the folders the search options select, the
// files of one folder in name order, and loading each one.
#include <QDir>
#include <QtDebug>
#include <algorithm>

#include "import/SPIExceptions.h"
#include "import/SPIs.h"
#include "platform/PluginFolderSetting.h"
#include "platform/ProgramFolder.h"
#include "platform/SharedLibrary.h"

namespace tam32 {
namespace {

QString WithTrailingSeparator(const QString& Folder) {
    return Folder.endsWith(QLatin1Char('/')) ? Folder : Folder + QLatin1Char('/');
}

}  // namespace

void TSPIs::Search(const QString& Mask) {
    const qsizetype slash = Mask.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) {
        SearchFolder(Mask.left(slash + 1), Mask.mid(slash + 1));
        return;
    }
    // spsCurrentDir searches nothing (see TSPISearchOption), and neither does
    // a relative folder, which would be taken from the current one.
    const auto searchIn = [&](const QString& Folder) {
        if (Folder.isEmpty()) return;
        if (QDir::isRelativePath(Folder)) {
            qWarning().noquote() << "Skipped image plug-in folder" << Folder + QLatin1Char(':')
                                 << "it is not an absolute path";
            return;
        }
        SearchFolder(WithTrailingSeparator(Folder), Mask);
    };
    if (SearchOptions.Contains(TSPISearchOption::spsSusieDir)) searchIn(ReadPluginFolderSetting());
    if (SearchOptions.Contains(TSPISearchOption::spsAppDir)) searchIn(ProgramFolder());
}

void TSPIs::SearchFolder(const QString& Dir, const QString& Mask) {
    // Plain and linked files, not hidden ones, matched case-insensitively;
    // sorted, so the load order (and so the precedence of extensions) does
    // not depend on the order the file system lists them in.
    QStringList names = QDir(Dir).entryList(QStringList{Mask}, QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(names.begin(), names.end());
    QStringList found;
    for (const QString& name : names)
        if (IndexOfFileName(Dir + name) < 0) found.append(Dir + name);
    for (const QString& fileName : found) TryLoad(fileName);
}

void TSPIs::TryLoad(const QString& FileName) {
    bool accept = true;
    if (OnSearching) OnSearching(this, FileName, accept);
    if (!accept) return;
    if (const QString reason = UntrustedLibraryReason(FileName); !reason.isEmpty()) {
        qWarning().noquote() << "Skipped image plug-in" << FileName + QLatin1Char(':') << reason;
        return;
    }
    std::unique_ptr<TSPI> spi;
    try {
        spi = CreateSPI(FileName);
    } catch (const ESPIInvalidAPI& e) {
        qWarning().noquote() << "Skipped image plug-in:" << e.Message();
        return;
    }
    if (spi == nullptr) return;
    accept = true;
    try {
        if (OnSearch) OnSearch(this, spi.get(), accept);
    } catch (...) {
        return;  // the plug-in is freed
    }
    if (!accept) return;
    try {
        Add(std::move(spi));
    } catch (const Exception& e) {
        // The plug-in is in the list already; the rest of its extensions stay out.
        qWarning().noquote() << "Image plug-in" << FileName << "registered in part:" << e.Message();
    }
}

}  // namespace tam32
