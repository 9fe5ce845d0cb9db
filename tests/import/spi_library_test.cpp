// One plug-in library: the kind chosen by its API version, the exports each
// kind requires, what the library says about itself, and the libraries that
// must be refused or survived.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "import/SPI.h"
#include "import/SPIExceptions.h"
#include "spi_test_util.h"

using namespace tam32;
using namespace tam32::test;

namespace {

std::unique_ptr<TSPI> Create(const char* Name) { return CreateSPI(TestPluginPath(QLatin1String(Name))); }

QString InvalidApiText(const char* Export, const char* Name) {
    return QStringLiteral("%1は[%2]では使えないSusie Plugin APIです")
        .arg(QLatin1String(Export), QFileInfo(TestPluginPath(QLatin1String(Name))).canonicalFilePath());
}

}  // namespace

TEST(SPIKinds, TheApiVersionChoosesTheClass) {
    const auto in = Create("tst_in");
    ASSERT_NE(in, nullptr);
    EXPECT_STREQ(in->ClassName(), "TInSPI");
    EXPECT_TRUE(in->IsLoaderKind());
    EXPECT_TRUE(TLoaderSPI::ClassInfo.IsClassOf(*in));

    const auto archive = Create("tst_archive");
    ASSERT_NE(archive, nullptr);
    EXPECT_STREQ(archive->ClassName(), "TAmSPI");
    EXPECT_TRUE(archive->IsLoaderKind());
    EXPECT_FALSE(TInSPI::ClassInfo.IsClassOf(*archive));

    const auto xn = Create("tst_xn");
    ASSERT_NE(xn, nullptr);
    EXPECT_STREQ(xn->ClassName(), "TXnSPI");
    EXPECT_FALSE(xn->IsLoaderKind());

    // Compared exactly: a near miss is a plain library.
    const auto other = Create("tst_wrongversion");
    ASSERT_NE(other, nullptr);
    EXPECT_STREQ(other->ClassName(), "TSPI");
    EXPECT_EQ(other->APIVersion, QStringLiteral("01IN"));
    EXPECT_FALSE(TLoaderSPI::ClassInfo.IsClassOf(*other));
}

TEST(SPIKinds, ALibraryDescribesItselfInOrder) {
    const auto spi = Create("tst_in");
    ASSERT_NE(spi, nullptr);
    EXPECT_EQ(spi->FileName, QFileInfo(TestPluginPath(QStringLiteral("tst_in"))).canonicalFilePath());
    EXPECT_EQ(spi->APIVersion, QStringLiteral("00IN"));
    EXPECT_EQ(spi->PluginName, QStringLiteral("Test plug-in"));
    EXPECT_EQ(spi->GetExtensions(), (QStringList{"*.tst", "*.ta;*.tb", "plain"}));
    EXPECT_EQ(spi->GetDescriptions(), (QStringList{"Test pictures", "Two patterns", "No period"}));
    EXPECT_NE(spi->Entries.GetPreview, nullptr);
    EXPECT_EQ(spi->Entries.GetArchiveInfo, nullptr);

    const auto none = Create("tst_noentries");
    ASSERT_NE(none, nullptr);
    EXPECT_TRUE(none->Extensions.isEmpty());
}

TEST(SPIKinds, AMissingRequiredExportIsRefusedWithItsName) {
    try {
        Create("tst_nogetpicture");
        FAIL() << "no exception";
    } catch (const ESPIInvalidAPI& e) {
        EXPECT_EQ(e.Message(), InvalidApiText("GetPicture", "tst_nogetpicture"));
    }
    // The probe as a plain library already needs GetPluginInfo.
    try {
        Create("tst_noinfo");
        FAIL() << "no exception";
    } catch (const ESPIInvalidAPI& e) {
        EXPECT_EQ(e.Message(), InvalidApiText("GetPluginInfo", "tst_noinfo"));
    }
    EXPECT_THROW(Create("tst_archive_incomplete"), ESPIInvalidAPI);
}

TEST(SPIKinds, AnOptionalExportRaisesOnlyWhenCalled) {
    const auto spi = Create("tst_nopreview");
    ASSERT_NE(spi, nullptr);
    auto& in = dynamic_cast<TInSPI&>(*spi);
    SpiHandle info = nullptr, bits = nullptr;
    try {
        in.GetPreview("x", 0, SPI_FLAG_FILE, info, bits, nullptr, 0);
        FAIL() << "no exception";
    } catch (const ESPIInvalidAPI& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("GetPreviewは[")));
    }
}

TEST(SPIKinds, WhatCannotBeLoadedIsNoPlugin) {
    EXPECT_EQ(Create("junk"), nullptr);
    EXPECT_EQ(CreateSPI(QStringLiteral("/nonexistent/x.spi")), nullptr);
    const QString junk = TestPluginPath(QStringLiteral("junk"));
    try {
        TSPI::ClassInfo.Create(junk);
        FAIL() << "no exception";
    } catch (const ESPIFOpenErrorSPI& e) {
        EXPECT_EQ(e.Message(), junk + QStringLiteral(":Susie Pluginがロードできませんでした"));
    }
}

TEST(SPIKinds, PluginTextsNeverRunPastTheirBuffer) {
    // Every text fills the whole buffer without an end; run under the sanitizers.
    const auto spi = Create("tst_unterminated");
    ASSERT_NE(spi, nullptr);
    EXPECT_EQ(spi->APIVersion, QString(255, QLatin1Char('0')));
    EXPECT_EQ(spi->PluginName, QString(255, QLatin1Char('x')));
    ASSERT_EQ(spi->Extensions.size(), 1);
    EXPECT_EQ(spi->Extensions[0].size(), 255);
}

TEST(SPIKinds, AnEndlessFormatListIsCutOff) {
    const auto spi = Create("tst_endless");
    ASSERT_NE(spi, nullptr);
    EXPECT_EQ(spi->Extensions.size(), 1024);
    EXPECT_EQ(spi->Descriptions.size(), 1024);
}
