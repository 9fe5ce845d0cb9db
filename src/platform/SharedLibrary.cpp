#include "platform/SharedLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <dlfcn.h>
#include <link.h>

namespace tam32 {

bool SharedLibrary::Load(const QString& FileName) {
    Unload();
    // A name without a slash would make the loader search its own paths;
    // the program always means the file it names.
    QString path = FileName;
    if (!path.contains(QLatin1Char('/'))) path.prepend(QStringLiteral("./"));
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
