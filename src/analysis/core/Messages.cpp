#include "analysis/core/Messages.h"

#include <QDir>
#include <QStringList>
#include <map>
#include <mutex>

#include "analysis/core/BuiltInTexts.h"
#include "analysis/core/EngineHost.h"
#include "platform/ProgramFolder.h"
#include "platform/Exceptions.h"
#include "platform/FileIdentity.h"
#include "platform/IniFile.h"

namespace tam32 {

namespace {

const QString kMessageFile = QStringLiteral("Tam32.msg");
const QString kMenuFile = QStringLiteral("menu.msg");
const QString kLocaleSection = QStringLiteral("LOCALE");
const QString kMissingText = QStringLiteral("ERROR");

QString OverrideFolder;

// A reading of a message file of the message folder. A settled file's
// reading is kept while the file stays as it was, so that texts looked up one
// after another (menus, reports) do not read the file again each time.
TIniFile MessageFileReading(const QString& FileName) {
    struct TReading {
        TFileIdentity File;
        TIniFile Ini;
    };
    static std::mutex Guard;
    static std::map<QString, TReading> Readings;
    const QString Path = QDir(MessageFolder()).filePath(FileName);
    const TFileIdentity File = IdentifyFile(Path);
    const std::lock_guard Lock(Guard);
    // Only settled readings are kept, and a changed file has another identity.
    if (const auto Kept = Readings.find(Path); Kept != Readings.end() && Kept->second.File == File)
        return Kept->second.Ini;
    TIniFile Ini = TIniFile::Snapshot(Path);
    if (File.Settled()) Readings.insert_or_assign(Path, TReading{File, Ini});
    return Ini;
}

// The text of Key in section SectionPrefix + the file's own locale.
QString Lookup(const QString& FileName, const QString& SectionPrefix, const QString& Key) {
    const TIniFile Ini = MessageFileReading(FileName);
    const QString Locale = Ini.ReadString(kLocaleSection, QStringLiteral("LOCALE"), QStringLiteral("JP"));
    return Ini.ReadString(SectionPrefix + Locale, Key, BuiltInText(SectionPrefix, Key).value_or(kMissingText));
}

QString ArgumentText(const FormatArg& Arg) {
    switch (Arg.ArgKind()) {
        case FormatArg::Kind::Integer:
            return Arg.IsSigned() ? QString::number(static_cast<int64_t>(Arg.Bits())) : QString::number(Arg.Bits());
        case FormatArg::Kind::Float:
            return FloatToStr(Arg.Float());
        case FormatArg::Kind::String:
            return Arg.String();
        case FormatArg::Kind::Pointer:
            return QString::number(Arg.Bits(), 16).toUpper();
    }
    return QString();
}

const QString kErrorSection = QStringLiteral("ERROR_CODE_");
const QString kDialogSection = QStringLiteral("DIALOG_CODE_");

// A text of a file that users edit used as a Format string: when it does not
// fit Args, the text as it stands followed by the arguments.
QString FormatMessageText(const QString& Text, std::initializer_list<FormatArg> Args) {
    try {
        return Format(Text, Args);
    } catch (const EConvertError&) {
        QStringList Parts{Text};
        for (const FormatArg& Arg : Args) Parts << ArgumentText(Arg);
        return Parts.join(u' ');
    }
}

}  // namespace

void ShowStatusMessage(const QString& Prefix, const QString& Code) {
    EngineHost().SetStatusText(Lookup(kMessageFile, Prefix, Code));
}

void ShowErrorMessage(const QString& Code) { ShowStatusMessage(kErrorSection, Code); }

QString GetErrorMessage(const QString& Code) { return Lookup(kMessageFile, kErrorSection, Code); }

void ShowInstructionMessage(const QString& Code) { ShowStatusMessage(QStringLiteral("INSTRUCTION_CODE_"), Code); }

QString GetDialogMessage(const QString& Code) { return Lookup(kMessageFile, kDialogSection, Code); }

QString FormatDialogMessage(const QString& Code, std::initializer_list<FormatArg> Args) {
    return FormatMessageText(GetDialogMessage(Code), Args);
}

QString FormatErrorMessage(const QString& Code, std::initializer_list<FormatArg> Args) {
    return FormatMessageText(GetErrorMessage(Code), Args);
}

int GetMenuCharset() {
    const TIniFile Ini = MessageFileReading(kMenuFile);
    const QString Text = Ini.ReadString(kLocaleSection, QStringLiteral("CHARSET"), QStringLiteral("1"));
    bool Ok = false;
    const int Charset = Text.toInt(&Ok, 10);
    if (!Ok) throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(Text));
    return Charset;
}

QString GetMenuCaption(int Index) { return Lookup(kMenuFile, QStringLiteral("MM_"), QString::number(Index)); }

QString GetFormCaption(const QString& FormKey, int Index) {
    return Lookup(kMenuFile, FormKey + u'_', QString::number(Index));
}

QString MessageFolder() { return OverrideFolder.isEmpty() ? ProgramFolder() : OverrideFolder; }

void SetMessageFolder(const QString& Folder) { OverrideFolder = Folder; }

}  // namespace tam32
