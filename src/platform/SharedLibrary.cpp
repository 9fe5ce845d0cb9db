#include "platform/SharedLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tam32 {

QString UntrustedLibraryReason(const QString& FileName) {
    struct stat status;
    if (stat(QFile::encodeName(FileName).constData(), &status) != 0)
        return QStringLiteral("its owner and mode cannot be read");
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) return QStringLiteral("others than its owner may write it");
    if (status.st_uid != geteuid() && status.st_uid != 0) return QStringLiteral("it belongs to another user");
    return QString();
}

bool SharedLibrary::Load(const QString& FileName) {
    Unload();
    // A name without a slash would make the loader search its own paths;
    // the program always means the file it names.
    QString path = FileName;
    if (!path.contains(QLatin1Char('/'))) path.prepend(QStringLiteral("./"));
    if (!UntrustedLibraryReason(path).isEmpty()) return false;
    // Local binding keeps one plug-in's symbols from answering another's lookups.
    FHandle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    return FHandle != nullptr;
}

void SharedLibrary::Unload() {
    if (FHandle != nullptr) dlclose(FHandle);
    FHandle = nullptr;
}

void* SharedLibrary::Symbol(const char* Name) const {
    return FHandle != nullptr ? dlsym(FHandle, Name) : nullptr;
}

QString SharedLibrary::ModuleFileName() const {
    link_map* map = nullptr;
    if (FHandle == nullptr || dlinfo(FHandle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr ||
        map->l_name == nullptr || map->l_name[0] == '\0')
        return QString();
    return QFileInfo(QFile::decodeName(map->l_name)).absoluteFilePath();
}

}  // namespace tam32
