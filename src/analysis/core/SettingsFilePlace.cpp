#include "analysis/core/SettingsFilePlace.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#include "platform/Exceptions.h"
#include "platform/ProgramFolder.h"

namespace tam32 {
namespace {

const QString kFileName = QStringLiteral("Options.Ini");

QString Folder(const QString& File) { return QFileInfo(File).absolutePath(); }

}  // namespace

bool CanCreateFileIn(const QString& Folder) {
    QTemporaryFile probe(QDir(Folder).filePath(QStringLiteral(".Options.XXXXXX")));
    return probe.open();
}

QString TSettingsFilePlace::FileToSave() const { return Writable(Folder(ProgramFile)) ? ProgramFile : UserFile; }

QString TSettingsFilePlace::PrepareFileToSave() const {
    const QString file = FileToSave();
    if (file == ProgramFile) return file;
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(Folder(file)).toStdString(), error);
    if (error)
        throw EIniFileException(QStringLiteral("Unable to create the folder %1: %2")
                                    .arg(Folder(file), QString::fromStdString(error.message())));
    return file;
}

QString TSettingsFilePlace::FileToLoad() const {
    const QString saved = FileToSave();
    const QString other = saved == ProgramFile ? UserFile : ProgramFile;
    for (const QString& file : {saved, other})
        if (QFileInfo(file).isFile()) return file;
    const QString files = saved == other ? QStringLiteral("\"%1\"").arg(saved)
                                         : QStringLiteral("\"%1\" or \"%2\"").arg(saved, other);
    throw EFOpenError(QStringLiteral("Cannot open file %1. No such file").arg(files));
}

TSettingsFilePlace ProgramSettingsPlace() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return {QDir(ProgramFolder()).filePath(kFileName), QDir(config).filePath(QStringLiteral("TAM32/") + kFileName)};
}

TSettingsFilePlace OneSettingsFile(const QString& File) {
    return {File, File, [](const QString&) { return true; }};
}

}  // namespace tam32
