#include "platform/IniFile.h"

#include <QHash>
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "platform/DelphiFormat.h"
#include "platform/Exceptions.h"
#include "platform/IniDocument.h"

namespace tam32 {

namespace {

// ---- Lines as sections and keys --------------------------------------------

bool SameName(const QString& A, const QString& B) {
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

// Views into the line, so that going over every line copies nothing.
std::optional<QStringView> SectionName(QStringView Line) {
    const QStringView Text = Line.trimmed();
    if (!Text.startsWith(u'[')) return std::nullopt;
    const qsizetype Close = Text.indexOf(u']');
    if (Close < 0) return std::nullopt;
    return Text.mid(1, Close - 1).trimmed();
}

std::optional<QStringView> KeyName(QStringView Line) {
    const QStringView Text = Line.trimmed();
    if (Text.startsWith(u';') || Text.startsWith(u'[')) return std::nullopt;
    const qsizetype Equals = Line.indexOf(u'=');
    if (Equals < 0) return std::nullopt;
    const QStringView Key = Line.left(Equals).trimmed();
    if (Key.isEmpty()) return std::nullopt;
    return Key;
}

std::optional<QString> SectionHeader(const QString& Line) {
    const std::optional<QStringView> Name = SectionName(Line);
    return Name ? std::optional<QString>(Name->toString()) : std::nullopt;
}

struct KeyLine {
    QString Key;
    QString Value;  // as written, untrimmed
};

std::optional<KeyLine> KeyOf(const QString& Line) {
    const std::optional<QStringView> Key = KeyName(Line);
    if (!Key) return std::nullopt;
    return KeyLine{Key->toString(), Line.mid(Line.indexOf(u'=') + 1)};
}

// A hash of the name as the case-insensitive comparison sees it.
size_t FoldedHash(QStringView Name, size_t Seed) {
    size_t Hash = Seed ^ 0xcbf29ce484222325ull;
    for (const QChar C : Name) Hash = (Hash ^ C.toCaseFolded().unicode()) * 0x100000001b3ull;
    return Hash;
}

// The body of the first section of that name: lines [Begin, End), or
// nullopt when there is none.
struct LineRange {
    size_t Header;
    size_t Begin;
    size_t End;
};

std::optional<LineRange> FindSection(const IniDocument& Doc, const QString& Section) {
    const QString Name = Section.trimmed();
    for (size_t I = 0; I < Doc.Lines.size(); ++I) {
        const std::optional<QString> Header = SectionHeader(Doc.Lines[I].Text);
        if (!Header || !SameName(*Header, Name)) continue;
        size_t End = I + 1;
        while (End < Doc.Lines.size() && !SectionHeader(Doc.Lines[End].Text)) ++End;
        return LineRange{I, I + 1, End};
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const IniDocument& Doc, const LineRange& Range, const QString& Ident) {
    const QString Name = Ident.trimmed();
    for (size_t I = Range.Begin; I < Range.End; ++I) {
        const std::optional<KeyLine> Key = KeyOf(Doc.Lines[I].Text);
        if (Key && SameName(Key->Key, Name)) return I;
    }
    return std::nullopt;
}

std::optional<QString> FindValue(const IniDocument& Doc, const QString& Section, const QString& Ident) {
    const std::optional<LineRange> Range = FindSection(Doc, Section);
    if (!Range) return std::nullopt;
    const std::optional<size_t> At = FindKey(Doc, *Range, Ident);
    if (!At) return std::nullopt;
    return KeyOf(Doc.Lines[*At].Text)->Value;
}

QString Unquoted(const QString& Value) {
    QString Text = Value.trimmed();
    if (Text.size() >= 2 && (Text.front() == u'"' || Text.front() == u'\'') && Text.back() == Text.front())
        Text = Text.mid(1, Text.size() - 2);
    return Text;
}

// ---- Numbers as the original read them ---------------------------------------

// Optional sign, then decimal digits in the 32-bit range, or "$" / "0x" and
// up to eight hex digits, which may set the sign bit.
std::optional<int> ParseInteger(const QString& Text) {
    QString Rest = Text.trimmed();
    bool Negative = false;
    if (Rest.startsWith(u'-') || Rest.startsWith(u'+')) {
        Negative = Rest.front() == u'-';
        Rest.remove(0, 1);
    }
    int Base = 10;
    if (Rest.startsWith(u'$')) {
        Base = 16;
        Rest.remove(0, 1);
    } else if (Rest.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        Base = 16;
        Rest.remove(0, 2);
    }
    if (Rest.isEmpty()) return std::nullopt;
    uint64_t Magnitude = 0;
    for (const QChar C : Rest) {
        const char16_t U = C.unicode();
        int Value = 99;
        if (U >= u'0' && U <= u'9') Value = U - u'0';
        else if (U >= u'a' && U <= u'f') Value = U - u'a' + 10;
        else if (U >= u'A' && U <= u'F') Value = U - u'A' + 10;
        if (Value >= Base) return std::nullopt;
        Magnitude = Magnitude * static_cast<uint64_t>(Base) + static_cast<uint64_t>(Value);
        if (Magnitude > 0xFFFFFFFFull) return std::nullopt;
    }
    if (Base == 16) {
        const uint32_t Bits = static_cast<uint32_t>(Magnitude);
        return static_cast<int>(Negative ? 0u - Bits : Bits);
    }
    const int64_t Signed = Negative ? -static_cast<int64_t>(Magnitude) : static_cast<int64_t>(Magnitude);
    if (Signed < INT32_MIN || Signed > INT32_MAX) return std::nullopt;
    return static_cast<int>(Signed);
}

// [sign] digits [. digits] [E [sign] digits], at least one mantissa digit;
// no hex, infinities or group separators.
std::optional<double> ParseFloat(const QString& Text) {
    const std::string S = Text.trimmed().toStdString();
    size_t I = 0;
    auto Digits = [&] {
        const size_t Start = I;
        while (I < S.size() && S[I] >= '0' && S[I] <= '9') ++I;
        return I - Start;
    };
    // from_chars takes no '+'.
    const size_t NumberStart = !S.empty() && S[0] == '+' ? 1 : 0;
    if (I < S.size() && (S[I] == '+' || S[I] == '-')) ++I;
    size_t Mantissa = Digits();
    if (I < S.size() && S[I] == '.') {
        ++I;
        Mantissa += Digits();
    }
    if (Mantissa == 0) return std::nullopt;
    if (I < S.size() && (S[I] == 'e' || S[I] == 'E')) {
        ++I;
        if (I < S.size() && (S[I] == '+' || S[I] == '-')) ++I;
        if (Digits() == 0) return std::nullopt;
    }
    if (I != S.size()) return std::nullopt;
    long double Value = 0;
    const std::from_chars_result Result = std::from_chars(S.data() + NumberStart, S.data() + S.size(), Value);
    if (Result.ec != std::errc() || std::fabs(Value) > DBL_MAX) return std::nullopt;
    return static_cast<double>(Value);
}

// ---- Writing -----------------------------------------------------------------

bool HasLineBreak(const QString& Text) {
    return Text.contains(u'\n') || Text.contains(u'\r');
}

// Refuses what would read back as a different structure.
void CheckEntry(const QString& FileName, const QString& Section, const QString& Ident, const QString& Value) {
    const QString Key = Ident.trimmed();
    if (HasLineBreak(Section) || HasLineBreak(Ident) || HasLineBreak(Value) || Section.contains(u']') ||
        Key.isEmpty() || Key.contains(u'=') || Key.startsWith(u';') || Key.startsWith(u'['))
        throw EIniFileException(QStringLiteral("Unable to write to ") + FileName +
                                QStringLiteral(": invalid section, key or value"));
}

IniLine NewLine(const QString& Text) { return IniLine{QByteArray(), Text}; }

bool IsBlank(const IniLine& Line) { return Line.Text.trimmed().isEmpty(); }

}  // namespace

// Where the first section of each name begins and the lines of their keys,
// found in one pass over the lines, so that reading many keys of a snapshot
// costs that one pass and not a pass each. Keys are kept by hash alone, in
// hash order (a file of many lines would otherwise take about as much memory
// again); each line a hash finds is checked.
class IniIndex {
public:
    explicit IniIndex(const IniDocument& Doc) {
        std::optional<size_t> Header;  // of the first section of its name, or none
        for (size_t I = 0; I < Doc.Lines.size(); ++I) {
            const QString& Text = Doc.Lines[I].Text;
            if (const std::optional<QStringView> Name = SectionName(Text)) {
                const QString Folded = Name->toString().toCaseFolded();
                Header = FSections.contains(Folded) ? std::nullopt : std::optional<size_t>(I);
                if (Header) FSections.insert(Folded, I);
            } else if (Header) {
                if (const std::optional<QStringView> Key = KeyName(Text))
                    FKeys.push_back({FoldedHash(*Key, *Header), I, *Header});
            }
        }
        std::stable_sort(FKeys.begin(), FKeys.end(), [](const KeyAt& A, const KeyAt& B) { return A.Hash < B.Hash; });
    }
    // The key's line in the first section of that name.
    std::optional<size_t> Find(const IniDocument& Doc, const QString& Section, const QString& Ident) const {
        const auto Header = FSections.constFind(Section.trimmed().toCaseFolded());
        if (Header == FSections.cend()) return std::nullopt;
        const QStringView Name = QStringView(Ident).trimmed();
        const size_t Hash = FoldedHash(Name, *Header);
        // In file order within a hash: the first that matches wins.
        auto At = std::lower_bound(FKeys.begin(), FKeys.end(), Hash, [](const KeyAt& K, size_t H) { return K.Hash < H; });
        for (; At != FKeys.end() && At->Hash == Hash; ++At)
            if (At->Header == *Header && KeyName(Doc.Lines[At->Line].Text)->compare(Name, Qt::CaseInsensitive) == 0)
                return At->Line;
        return std::nullopt;
    }

private:
    struct KeyAt {
        size_t Hash, Line, Header;
    };

    QHash<QString, size_t> FSections;
    std::vector<KeyAt> FKeys;
};

std::optional<double> TextToFloat(const QString& Text) { return ParseFloat(Text); }

TIniFile TIniFile::Snapshot(const QString& FileName) {
    TIniFile Ini(FileName);
    Ini.FSnapshot = std::make_shared<const IniDocument>(IniDocument::Load(FileName));
    Ini.FIndex = std::make_shared<const IniIndex>(*Ini.FSnapshot);
    return Ini;
}

TIniFile TIniFile::Draft(const QString& FileName) {
    TIniFile Ini(FileName);
    Ini.FDraft = std::make_shared<IniDocument>(IniDocument::Load(FileName));
    return Ini;
}

void TIniFile::Commit() {
    if (FDraft) FDraft->Save(FFileName);
}

void TIniFile::CheckSize() const {
    if (Document()->TooLarge) throw EFileTooLarge(FFileName, IniDocument::kMaxFileSize);
}

std::shared_ptr<const IniDocument> TIniFile::Document() const {
    if (FDraft) return FDraft;
    return FSnapshot ? FSnapshot : std::make_shared<const IniDocument>(IniDocument::Load(FFileName));
}

void TIniFile::Edit(const std::function<bool(IniDocument& Doc)>& Change) {
    if (FDraft) {
        Change(*FDraft);
        return;
    }
    IniDocument Doc = IniDocument::Load(FFileName);
    if (Change(Doc)) Doc.Save(FFileName);
}

std::optional<QString> TIniFile::Value(const QString& Section, const QString& Ident) const {
    if (!FIndex) return FindValue(*Document(), Section, Ident);
    const std::optional<size_t> At = FIndex->Find(*FSnapshot, Section, Ident);
    if (!At) return std::nullopt;
    return KeyOf(FSnapshot->Lines[*At].Text)->Value;
}

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const {
    const std::optional<QString> Found = Value(Section, Ident);
    return Found ? Unquoted(*Found) : Default;
}

int TIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const {
    return ParseInteger(ReadString(Section, Ident, QString())).value_or(Default);
}

bool TIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const QString& Section, const QString& Ident, double Default) const {
    return ParseFloat(ReadString(Section, Ident, QString())).value_or(Default);
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
    CheckEntry(FFileName, Section, Ident, Value);
    Edit([&](IniDocument& Doc) {
        const std::optional<LineRange> Range = FindSection(Doc, Section);
        if (!Range) {
            if (!Doc.Lines.empty() && !IsBlank(Doc.Lines.back())) Doc.Lines.push_back(NewLine(QString()));
            Doc.Lines.push_back(NewLine(u'[' + Section.trimmed() + u']'));
            Doc.Lines.push_back(NewLine(Ident.trimmed() + u'=' + Value));
        } else if (const std::optional<size_t> At = FindKey(Doc, *Range, Ident)) {
            const QString Key = KeyOf(Doc.Lines[*At].Text)->Key;
            Doc.Lines[*At] = NewLine(Key + u'=' + Value);
        } else {
            size_t After = Range->Header;
            for (size_t I = Range->Begin; I < Range->End; ++I)
                if (!IsBlank(Doc.Lines[I])) After = I;
            Doc.Lines.insert(Doc.Lines.begin() + static_cast<std::ptrdiff_t>(After + 1),
                             NewLine(Ident.trimmed() + u'=' + Value));
        }
        return true;
    });
}

void TIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

void TIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value) {
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::WriteFloat(const QString& Section, const QString& Ident, double Value) {
    WriteString(Section, Ident, FloatToStr(Value));
}

bool TIniFile::SectionExists(const QString& Section) const { return !ReadSection(Section).isEmpty(); }

bool TIniFile::ValueExists(const QString& Section, const QString& Ident) const {
    return Value(Section, Ident).has_value();
}

QStringList TIniFile::ReadSection(const QString& Section) const {
    const std::shared_ptr<const IniDocument> Lines = Document();
    const IniDocument& Doc = *Lines;
    QStringList Keys;
    if (const std::optional<LineRange> Range = FindSection(Doc, Section))
        for (size_t I = Range->Begin; I < Range->End; ++I)
            if (const std::optional<KeyLine> Key = KeyOf(Doc.Lines[I].Text))
                if (!Keys.contains(Key->Key, Qt::CaseInsensitive)) Keys << Key->Key;
    return Keys;
}

QStringList TIniFile::ReadSections() const {
    const std::shared_ptr<const IniDocument> Lines = Document();
    const IniDocument& Doc = *Lines;
    QStringList Names;
    for (const IniLine& Line : Doc.Lines)
        if (const std::optional<QString> Name = SectionHeader(Line.Text))
            if (!Names.contains(*Name, Qt::CaseInsensitive)) Names << *Name;
    return Names;
}

void TIniFile::EraseSection(const QString& Section) {
    Edit([&](IniDocument& Doc) {
        bool Changed = false;
        while (const std::optional<LineRange> Range = FindSection(Doc, Section)) {
            Doc.Lines.erase(Doc.Lines.begin() + static_cast<std::ptrdiff_t>(Range->Header),
                            Doc.Lines.begin() + static_cast<std::ptrdiff_t>(Range->End));
            Changed = true;
        }
        return Changed;
    });
}

void TIniFile::DeleteKey(const QString& Section, const QString& Ident) {
    Edit([&](IniDocument& Doc) {
        const std::optional<LineRange> Range = FindSection(Doc, Section);
        if (!Range) return false;
        bool Changed = false;
        for (size_t I = Range->End; I-- > Range->Begin;) {
            const std::optional<KeyLine> Key = KeyOf(Doc.Lines[I].Text);
            if (Key && SameName(Key->Key, Ident.trimmed())) {
                Doc.Lines.erase(Doc.Lines.begin() + static_cast<std::ptrdiff_t>(I));
                Changed = true;
            }
        }
        return Changed;
    });
}

}  // namespace tam32
