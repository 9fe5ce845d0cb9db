// The scanner client's own steps, against a scripted manager.
#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>

#include "import/AcquireImage.h"
#include "common/widget_app_env.h"
#include "import/acquire_fake_manager.h"
#include "platform/Bitmap.h"
#include "platform/Clipboard.h"

namespace tam32::test {
namespace {

using Errors = std::vector<std::pair<int, int>>;
constexpr auto Dsm = &FakeManager::Manager;
constexpr auto Ds = &FakeManager::Source;

class AcquireClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        RequireWidgetApp();
        FLive = LiveMemoryHandleCount();
        Client.OnTwainError = [this](TObject* Sender, int State, int Error) {
            EXPECT_EQ(Sender, &Client);
            Reported.emplace_back(State, Error);
        };
    }
    void TearDown() override {
        GlobalFree(Dib);
        EXPECT_EQ(LiveMemoryHandleCount(), FLive) << "a memory handle was leaked";
    }
    // The frame's steps up to the source, opened.
    void Open(const QString& Name = QStringLiteral("Beta")) {
        Client.OpenSourceManager();
        Client.SelectSourceByName(Name);
        Client.OpenSource();
    }
    size_t Count(const Triplet& T) const {
        const auto steps = Fake.Steps();
        return size_t(std::count(steps.begin(), steps.end(), T));
    }

    TAcquireImage Client;
    FakeManager Fake{Client};
    Errors Reported;
    HGLOBAL Dib = nullptr;

private:
    size_t FLive = 0;
};

TEST(AcquireImageProperties, LiveInTheIdentityAndAreCutToTheirFields) {
    TAcquireImage client;
    EXPECT_TRUE(client.SHOWhideUI);
    EXPECT_EQ(client.AppInfo(), "Twain Freeware Component");
    EXPECT_STREQ(client.AppIdentity.Manufacturer, "none");
    EXPECT_EQ(client.AppProductFamily(), "none");
    EXPECT_EQ(client.AppProductName(), "none");
    EXPECT_EQ(client.AppVersionMajorNum() + client.Language() + client.Country(), 0);
    client.SetCountry(39);
    EXPECT_EQ(client.AppIdentity.Version.Country, 39);
    client.SetAppProductName(QString(40, QLatin1Char('x')));
    EXPECT_EQ(client.AppProductName(), QString(33, QLatin1Char('x')));
    client.SetAppInfo(QString(20, QChar(0x00E9)));  // two bytes each in UTF-8
    EXPECT_EQ(client.AppInfo(), QString(16, QChar(0x00E9)));
    EXPECT_TRUE(client.LibraryFileName.endsWith("/twain_32.so"));
}

TEST_F(AcquireClientTest, TheFramesStepsMakeTheProtocolsTriplets) {
    QString name;
    Client.OpenSourceManager();
    Client.SelectSource(false, name);
    EXPECT_EQ(name, "Beta");
    EXPECT_EQ(Client.SelectSourceByName(name), TWRC_SUCCESS);
    EXPECT_EQ(Client.OpenSource(), TWRC_SUCCESS);
    EXPECT_EQ(Client.AcquireNative(Dib), TWRC_SUCCESS);
    EXPECT_EQ(Client.CloseSource(), TWRC_SUCCESS);
    EXPECT_EQ(Fake.Steps(), (std::vector<Triplet>{Dsm(DAT_PARENT, MSG_OPENDSM),
                                                  Dsm(DAT_IDENTITY, MSG_USERSELECT),
                                                  Dsm(DAT_IDENTITY, MSG_GETFIRST),
                                                  Dsm(DAT_IDENTITY, MSG_GETNEXT),
                                                  Dsm(DAT_IDENTITY, MSG_OPENDS),
                                                  Ds(DAT_CAPABILITY, MSG_SET),
                                                  Ds(DAT_USERINTERFACE, MSG_ENABLEDS),
                                                  Ds(DAT_EVENT, MSG_PROCESSEVENT),
                                                  {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, true},
                                                  Ds(DAT_PENDINGXFERS, MSG_ENDXFER),
                                                  Ds(DAT_PENDINGXFERS, MSG_RESET),
                                                  Ds(DAT_USERINTERFACE, MSG_DISABLEDS),
                                                  Dsm(DAT_IDENTITY, MSG_CLOSEDS),
                                                  Dsm(DAT_PARENT, MSG_CLOSEDSM)}));
    EXPECT_TRUE(Fake.OnlyTheClientsRecords);
    const TW_IDENTITY& app = Fake.AppAtOpen;
    EXPECT_EQ(TW_UINT32(app.Id), 0u);
    EXPECT_EQ(app.ProtocolMajor * 100 + app.ProtocolMinor, 108);
    EXPECT_EQ(TW_UINT32(app.SupportedGroups), DG_IMAGE);
    EXPECT_EQ(Fake.SetRequest.Cap, CAP_XFERCOUNT);
    EXPECT_EQ(Fake.SetRequest.ConType, TWON_ONEVALUE);
    EXPECT_TRUE(Fake.SetContainerLive);
    EXPECT_EQ(Fake.SetValue.ItemType, TWTY_INT16);
    EXPECT_EQ(TW_UINT32(Fake.SetValue.Item), 0xFFFFFFFFu);
    EXPECT_EQ(Fake.Enabled.ShowUI, TW_TRUE);
    EXPECT_EQ(Fake.Enabled.ModalUI, TW_TRUE);
    EXPECT_EQ(Dib, Fake.Delivered.at(0));
    EXPECT_TRUE(Reported.empty());
    EXPECT_TRUE(Client.UnloadSourceManager());
    EXPECT_EQ(Client.DSMEntry, nullptr);  // nothing left to call into
}

TEST_F(AcquireClientTest, WithoutTheInterfaceBothFlagsAreClear) {
    Client.SHOWhideUI = false;
    Open();
    EXPECT_EQ(Client.AcquireNative(Dib), TWRC_SUCCESS);
    EXPECT_EQ(Fake.Enabled.ShowUI + Fake.Enabled.ModalUI, 0);
}

TEST_F(AcquireClientTest, SelectionByNameIsExactAndVisitsEverySourceOnce) {
    Client.OpenSourceManager();
    EXPECT_EQ(Client.SelectSourceByName("beta"), TWRC_ENDOFLIST);
    EXPECT_EQ(Count(Dsm(DAT_IDENTITY, MSG_GETNEXT)), 3u);
    EXPECT_EQ(Client.SelectSourceByName("Gamma"), TWRC_SUCCESS);
    EXPECT_EQ(TW_UINT32(Client.SourceIdentity.Id), 3u);
    EXPECT_EQ(Client.SelectSourceByName(""), TWRC_SUCCESS);
    EXPECT_EQ(Fake.Log.back(), Dsm(DAT_IDENTITY, MSG_USERSELECT));
    EXPECT_EQ(Reported, (Errors{{3, TWRC_ENDOFLIST}}));
}

// A cancelled selection leaves no source, and one by a name that no source
// has leaves the last one enumerated: the manager would open that or its default.
TEST_F(AcquireClientTest, NothingIsOpenedWithoutASelectedSource) {
    Fake.SelectResult = TWRC_CANCEL;
    QString name = "stale";
    Client.OpenSourceManager();
    Client.SelectSource(false, name);
    EXPECT_TRUE(name.isEmpty());
    EXPECT_EQ(Client.SelectSourceByName(name), TWRC_CANCEL);
    EXPECT_EQ(Client.OpenSource(), TWRC_CANCEL);
    EXPECT_EQ(Client.SelectSourceByName("Nobody"), TWRC_ENDOFLIST);
    EXPECT_EQ(Client.OpenSource(), TWRC_CANCEL);
    EXPECT_EQ(Count(Dsm(DAT_IDENTITY, MSG_OPENDS)), 0u);
    EXPECT_EQ(Reported, (Errors{{3, 3}, {3, 3}, {4, 3}, {3, 7}, {4, 3}}));
}

TEST_F(AcquireClientTest, ATransferCountAnsweredWithCheckStatusIsReadBackAndFreed) {
    Fake.SetResult = TWRC_CHECKSTATUS;
    Open();
    EXPECT_TRUE(Reported.empty());
    EXPECT_EQ(Fake.GetRequest.Cap, CAP_XFERCOUNT);
    EXPECT_EQ(Fake.GetRequest.ConType, TWON_DONTCARE16);
    EXPECT_EQ(TW_HANDLE(Fake.GetRequest.hContainer), nullptr);
    Fake.GetResult = TWRC_FAILURE;
    Fake.Condition = TWCC_BADVALUE;
    EXPECT_EQ(Client.OpenSource(), 0x8000 + TWCC_BADVALUE);
}

TEST_F(AcquireClientTest, FailuresReadAsTheConditionCodeWithTheStepsState) {
    Fake.OpenResult = TWRC_FAILURE;
    EXPECT_EQ(Client.OpenSourceManager(), TWRC_FAILURE);
    Fake.OpenResult = TWRC_SUCCESS;
    Fake.OpenSourceResult = TWRC_FAILURE;
    Fake.Condition = TWCC_NODS;
    Open();
    Fake.Condition = TWCC_SUCCESS;
    EXPECT_EQ(Client.OpenSource(), 1);
    Fake.EnableResult = TWRC_CHECKSTATUS;  // not success either
    Fake.Condition = TWCC_BUMMER;
    EXPECT_EQ(Client.AcquireNative(Dib), 0x8001);
    Fake.EnableResult = TWRC_SUCCESS;
    Fake.FailProcessing = true;
    Fake.Condition = TWCC_LOWMEMORY;
    EXPECT_EQ(Client.AcquireNative(Dib), 0x8002);
    Fake.FailProcessing = false;
    Fake.Transfers = {TWRC_FAILURE};
    Fake.Condition = TWCC_PAPERJAM;
    EXPECT_EQ(Client.AcquireNative(Dib), 0x8000 + TWCC_PAPERJAM);
    EXPECT_EQ(Fake.Log.back(), Ds(DAT_PENDINGXFERS, MSG_RESET));
    Fake.StatusResult = TWRC_FAILURE;
    EXPECT_EQ(Client.GetConditionCode(), TWRC_FAILURE);
    Fake.StatusResult = TWRC_SUCCESS;
    Fake.CloseResult = TWRC_FAILURE;
    Fake.Condition = TWCC_SEQERROR;
    EXPECT_EQ(Client.CloseSource(), 0x8000 + TWCC_SEQERROR);  // reported by nobody
    EXPECT_EQ(Dib, nullptr);
    EXPECT_EQ(Reported,
              (Errors{{2, 1}, {4, 0x8003}, {4, 1}, {5, 0x8001}, {6, 0x8002}, {7, 0x8000 + TWCC_PAPERJAM}}));
}

TEST_F(AcquireClientTest, ACancelHandsNothingOver) {
    Fake.FirstMessage = MSG_CLOSEDSREQ;  // the source's interface closed
    Open();
    EXPECT_EQ(Client.AcquireNative(Dib), TWRC_CANCEL);
    Fake.FirstMessage = MSG_XFERREADY;
    Fake.Transfers = {TWRC_CANCEL};
    Fake.PictureWithCancel = true;
    EXPECT_EQ(Client.AcquireNative(Dib), TWRC_CANCEL);
    EXPECT_FALSE(IsValidMemoryHandle(Fake.Delivered.at(0)));
    EXPECT_EQ(Fake.Log.back(), Ds(DAT_PENDINGXFERS, MSG_ENDXFER));
    EXPECT_EQ(Dib, nullptr);
    EXPECT_EQ(Reported, (Errors{{5, TWRC_CANCEL}, {7, TWRC_CANCEL}}));
}

TEST_F(AcquireClientTest, OfSeveralTransfersOnlyTheLastPictureIsKept) {
    Fake.Transfers = {TWRC_XFERDONE, TWRC_XFERDONE};
    Fake.PendingAfter = {1, 0};
    Open();
    EXPECT_EQ(Client.AcquireNative(Dib), TWRC_SUCCESS);
    EXPECT_FALSE(IsValidMemoryHandle(Fake.Delivered.at(0)));
    EXPECT_EQ(Dib, Fake.Delivered.at(1));
    GlobalFree(Dib);
    Fake.Transfers = {TWRC_XFERDONE, TWRC_CANCEL};
    Fake.PendingAfter = {1, 0};
    EXPECT_EQ(Client.AcquireNative(Dib), TWRC_CANCEL);
    EXPECT_EQ(Dib, nullptr);  // and the earlier picture freed: the fixture counts
}

TEST_F(AcquireClientTest, OtherEventsAreDispatchedWhileTheClientWaits) {
    struct Counter : QObject {
        int Received = 0;
        bool event(QEvent*) override {
            ++Received;
            return true;
        }
    } counter;
    Fake.FirstMessageDelay = 50;
    QTimer::singleShot(10, [&] { QCoreApplication::postEvent(&counter, new QEvent(QEvent::User)); });
    Open();
    EXPECT_EQ(Client.AcquireNative(Dib), TWRC_SUCCESS);
    EXPECT_EQ(counter.Received, 1);
    EXPECT_GE(Fake.ForeignEvents, 1);  // it passed the source first
}

TEST_F(AcquireClientTest, TheBitmapComesThroughTheClipboardWhichIsLeftEmpty) {
    auto bitmap = std::make_unique<TBitmap>();
    TBitmap* kept = bitmap.get();
    Fake.FirstMessage = MSG_CLOSEDSREQ;
    Open();
    EXPECT_EQ(Client.AcquireBitmap(bitmap), TWRC_FAILURE);
    EXPECT_EQ(bitmap.get(), kept);
    Fake.FirstMessage = MSG_XFERREADY;
    ASSERT_EQ(Client.AcquireBitmap(bitmap), TWRC_SUCCESS);
    ASSERT_NE(bitmap.get(), kept);
    const QImage image = bitmap->Image();
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_FALSE(Clipboard().HasFormat(CF_DIB));
}

TEST_F(AcquireClientTest, WithoutTheLibraryNothingIsCalledOrReported) {
    EXPECT_TRUE(Client.UnloadSourceManager());
    QString name = "x";
    Client.SelectSource(true, name);
    EXPECT_TRUE(name.isEmpty());
    for (TW_UINT16 result : {Client.OpenSourceManager(), Client.SelectSourceByName("Alpha"), Client.OpenSource(),
                             Client.AcquireNative(Dib), Client.CloseSource()})
        EXPECT_EQ(result, TWRC_FAILURE);
    EXPECT_FALSE(Client.UnloadSourceManager());
    EXPECT_TRUE(Fake.Log.empty());
    EXPECT_TRUE(Reported.empty());
}

}  // namespace
}  // namespace tam32::test
