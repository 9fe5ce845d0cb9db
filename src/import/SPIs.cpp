#include "import/SPIs.h"

#include <QDir>
#include <QFileInfo>

#include "import/FileExtension.h"
#include "import/SPIExceptions.h"

namespace tam32 {
namespace {

TSPIs* gInstance = nullptr;
TGraphicClass gDefaultGraphicClass = nullptr;

QString SameFileKey(const QString& FileName) {
    const QFileInfo info(FileName);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// True when one entry's extension, taken from the whole stored mask (for
// "*.a;*.b" that is ".b"), equals Ext.
bool NamesExtension(const TSPI& SPI, const QString& Ext) {
    if (Ext.isEmpty()) return false;
    for (const QString& mask : SPI.Extensions) {
        const qsizetype dot = mask.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0 && mask.mid(dot).compare(Ext, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

}  // namespace

TSPIs* GetSPIs() { return gInstance; }

TGraphicClass DefaultSPIGraphicClass() { return gDefaultGraphicClass; }

void TSPIs::SetDefaultGraphicClass(TGraphicClass AClass) { gDefaultGraphicClass = AClass; }

TSPIs::TSPIs() {
    if (gInstance != nullptr) throw DupCreateSPIsError();
    gInstance = this;
}

TSPIs::~TSPIs() {
    if (gInstance == this) gInstance = nullptr;
    Clear();
}

void TSPIs::Loaded() {
    if (AutoSearch) Search(QStringLiteral("*.spi"));
}

void TSPIs::Add(std::unique_ptr<TSPI> SPI) { Insert(GetCount(), std::move(SPI)); }

void TSPIs::Insert(int Index, std::unique_ptr<TSPI> SPI) {
    if (Index < 0 || Index > GetCount()) throw ERangeError(kRangeCheckError);
    TSPI* added = FList.insert(FList.begin() + Index, std::move(SPI))->get();
    if (auto* in = dynamic_cast<TInSPI*>(added)) RegisterExtensions(*in);
}

void TSPIs::RegisterExtensions(TInSPI& SPI) {
    for (qsizetype i = 0; i < SPI.Extensions.size(); ++i) {
        TGraphicClass graphicClass = gDefaultGraphicClass;
        QString masks = SPI.Extensions[i];
        const QString description = SPI.Descriptions.value(i);
        // The patterns of one mask go from the last to the first, and a class
        // the handler chose stays for the mask's further patterns.
        while (!masks.isEmpty()) {
            const qsizetype semicolon = masks.lastIndexOf(QLatin1Char(';'));
            const QString pattern = masks.mid(semicolon + 1);
            masks.truncate(semicolon < 0 ? 0 : semicolon);
            const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
            const QString extension = dot < 0 ? pattern : pattern.mid(dot + 1);
            if (OnPictureRegister) OnPictureRegister(this, &SPI, extension, description, graphicClass);
            if (graphicClass != nullptr) PictureFormats::RegisterFileFormat(extension, description, graphicClass);
        }
    }
}

void TSPIs::Delete(int Index) {
    if (Index < 0 || Index >= GetCount()) throw ERangeError(kRangeCheckError);
    FList.erase(FList.begin() + Index);
}

void TSPIs::Clear() {
    while (GetCount() >= 1) Delete(0);
}

int TSPIs::IndexOfFileName(const QString& FileName) const {
    const QString wanted = SameFileKey(FileName);
    for (int i = 0; i < GetCount(); ++i)
        if (SameFileKey(FList[static_cast<size_t>(i)]->FileName) == wanted) return i;
    return -1;
}

void TSPIs::GetSupportedSPIs(std::span<const TSPIClass> Classes, const QString& FileName,
                             std::vector<TSPI*>& List) const {
    const QString ext = ExtractFileExt(FileName);
    for (const auto& spi : FList) {
        bool wanted = false;
        for (TSPIClass kind : Classes) wanted = wanted || kind->IsClassOf(*spi);
        if (!wanted) continue;
        if (NamesExtension(*spi, ext))
            List.insert(List.begin(), spi.get());
        else
            List.push_back(spi.get());
    }
}

void KeepInputPlugins(TObject*, TSPI* ASPI, bool& Accept) { Accept = dynamic_cast<TInSPI*>(ASPI) != nullptr; }

}  // namespace tam32
