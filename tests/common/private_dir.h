#pragma once
// Temporary folders for files that the program loads code from: inside the
// build tree under a folder that only the user may enter, since no code is
// loaded from below a folder that others may write, such as /tmp.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tam32::test {

inline QString PrivateFolder() {
    const QString root = QStringLiteral(TAM32_BUILD_DIR "/private");
    QDir().mkpath(root);
    QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return root;
}

class TPrivateTemporaryDir : public QTemporaryDir {
public:
    TPrivateTemporaryDir() : QTemporaryDir(PrivateFolder() + QStringLiteral("/XXXXXX")) {}
};

}  // namespace tam32::test
