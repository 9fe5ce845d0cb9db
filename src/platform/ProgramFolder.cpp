#include "platform/ProgramFolder.h"

#include <QFileInfo>

namespace tam32 {

QString ProgramFolder() {
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    const QString target = exe.symLinkTarget();
    return target.isEmpty() ? QString() : QFileInfo(target).absolutePath();
}

}  // namespace tam32
