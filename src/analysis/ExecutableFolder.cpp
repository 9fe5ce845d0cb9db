#include "analysis/ExecutableFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tam32 {

QString ExecutableFolder() {
    if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath();
    // Before (or without) an application object, the kernel's link to the
    // executable still names it.
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

}  // namespace tam32
