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
#include <functional>
#include <memory>
#include <optional>

namespace tam32 {

// A decimal number with '.' as ReadFloat reads it (blanks around it
// allowed, an exponent too); nullopt for any other text, infinities and
// values beyond the double range included.
std::optional<double> TextToFloat(const QString& Text);

struct IniDocument;
class IniIndex;

class TIniFile {
public:
    explicit TIniFile(const QString& FileName) : FFileName(FileName) {}
    // The file read once, now: every later read sees what it held then, so
    // a reader of many keys reads one state of the file. Writes still go to
    // the file and are not seen by the reads.
    static TIniFile Snapshot(const QString& FileName);
    // The file read once, now, to take many writes: they change the lines in
    // memory, which the reads see, and Commit replaces the file with them in
    // one step (never writing it in place), or raises EIniFileException.
    static TIniFile Draft(const QString& FileName);
    void Commit();
    // EFileTooLarge when the file is too large to be an ini file: it then
    // reads as empty, and a write or Commit raises the same.
    void CheckSize() const;

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
    // The lines that reads look at: the draft, the snapshot, or the file as it is now.
    std::shared_ptr<const IniDocument> Document() const;
    // The value of the key as written, through the snapshot's index when there is one.
    std::optional<QString> Value(const QString& Section, const QString& Ident) const;
    // Change to the draft, or to the file's lines, saved when Change says it changed them.
    void Edit(const std::function<bool(IniDocument& Doc)>& Change);

    QString FFileName;
    std::shared_ptr<const IniDocument> FSnapshot;
    std::shared_ptr<const IniIndex> FIndex;  // of the snapshot
    std::shared_ptr<IniDocument> FDraft;
};

}  // namespace tam32
