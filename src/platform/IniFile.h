#pragma once
// Ini files with the semantics of Windows profile files, which the message
// files and the settings file were written for: section and key names are
// case-insensitive, the first match wins, whitespace around keys and values
// and one pair of surrounding quotes are dropped on read. Nothing is cached:
// every read goes to the disk (message files are edited while the program
// runs) and every write rewrites the file at once, leaving every other line
// as it was.
#include <QString>
#include <QStringList>

namespace tam32 {

class TIniFile {
public:
    explicit TIniFile(const QString& FileName) : FFileName(FileName) {}

    const QString& FileName() const { return FFileName; }

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
    // Decimal, or hexadecimal after "$" or "0x"; Default for anything else.
    int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
    // ReadInteger(..., Default ? 1 : 0) != 0.
    bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;
    // A decimal number with '.'; Default when the text is not one.
    double ReadFloat(const QString& Section, const QString& Ident, double Default) const;

    // EIniFileException when the file cannot be written, or when a line
    // break, a "]" in the section or a "=" in the key would change the
    // file's structure. A file that exists but cannot be read is not
    // overwritten.
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);
    // "1" or "0".
    void WriteBool(const QString& Section, const QString& Ident, bool Value);
    // FloatToStr: up to 15 significant digits.
    void WriteFloat(const QString& Section, const QString& Ident, double Value);

    // True when the section holds at least one key.
    bool SectionExists(const QString& Section) const;
    bool ValueExists(const QString& Section, const QString& Ident) const;
    // The keys of the section, in file order, each once.
    QStringList ReadSection(const QString& Section) const;
    // The section names, in file order, each once.
    QStringList ReadSections() const;
    // Removes every section of that name with all its lines.
    void EraseSection(const QString& Section);
    // Removes every line of that key from the section.
    void DeleteKey(const QString& Section, const QString& Ident);

private:
    QString FFileName;
};

}  // namespace tam32
