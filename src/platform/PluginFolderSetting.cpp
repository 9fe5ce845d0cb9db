#include "platform/PluginFolderSetting.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tam32 {

QString PluginFolderSettingFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Morvalen/Susie.conf");
}

QString ReadPluginFolderSetting() {
    const QString file = PluginFolderSettingFile();
    // QSettings would make an empty file on the first write only; checking
    // first also keeps a missing file from counting as an empty one.
    if (!QFileInfo(file).isFile()) return QString();
    const QSettings settings(file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return QString();
    const QVariant value = settings.value(QStringLiteral("Plug-in/Path"));
    // An unquoted value with commas comes back as a list; the folder name is
    // the text as written.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

}  // namespace tam32
