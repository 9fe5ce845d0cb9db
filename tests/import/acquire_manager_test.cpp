// The source manager library's own protocol: its states, the sources it
// lists, the transfer count and the readiness it signals.
#include <gtest/gtest.h>

#include "import/AcquireImage.h"
#include "import/SourceEventPump.h"
#include "common/widget_app_env.h"
#include "import/acquire_sane_setup.h"
#include "platform/TwainText.h"

namespace tam32::test {
namespace {

class SourceManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        RequireWidgetApp();
        FLive = LiveMemoryHandleCount();
        ASSERT_TRUE(SetUpSane({.WidthMm = 10, .HeightMm = 10}));
        ASSERT_TRUE(Client.LoadSourceManager());
    }
    void TearDown() override {
        Client.CloseSource();
        EXPECT_TRUE(Client.UnloadSourceManager());
        EXPECT_EQ(LiveMemoryHandleCount(), FLive) << "a memory handle was leaked";
    }

    // The result, and the condition code when it failed.
    std::pair<int, int> Call(TW_IDENTITY* Dest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF Data) {
        const TW_UINT16 result = Client.DSMEntry(&Client.AppIdentity, Dest, DG, DAT, MSG, Data);
        TW_STATUS status{};
        Client.DSMEntry(&Client.AppIdentity, nullptr, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
        return {result, result == TWRC_FAILURE ? status.ConditionCode : 0};
    }
    std::pair<int, int> Identity(TW_UINT16 MSG, TW_IDENTITY& Identity) {
        return Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG, &Identity);
    }
    std::pair<int, int> Control(TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF Data) {
        return Call(&Source, DG_CONTROL, DAT, MSG, Data);
    }
    std::pair<int, int> Manager(TW_UINT16 MSG) {
        TW_HANDLE parent = nullptr;
        return Call(nullptr, DG_CONTROL, DAT_PARENT, MSG, &parent);
    }
    std::pair<int, int> OpenSource(const char* Name) {
        Source = {};
        SetTwainText(Source.ProductName, QString::fromLatin1(Name));
        return Identity(MSG_OPENDS, Source);
    }
    std::pair<int, int> Enable() {
        TW_USERINTERFACE ui{0, 0, nullptr};
        return Control(DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    }
    // The count read back, from a container that must be a handle of ours.
    int TransferCount() {
        TW_CAPABILITY capability{CAP_XFERCOUNT, TWON_DONTCARE16, nullptr};
        EXPECT_EQ(Control(DAT_CAPABILITY, MSG_GET, &capability), kSuccess);
        auto container = static_cast<HGLOBAL>(capability.hContainer);
        TW_ONEVALUE value{};
        if (GlobalSize(container) == sizeof value) std::memcpy(&value, MemoryLock(container).Data(), sizeof value);
        GlobalFree(container);
        return value.ItemType == TWTY_INT16 ? int16_t(uint16_t(value.Item)) : 0;
    }
    std::pair<int, int> SetTransferCount(uint32_t Item) {
        const TW_ONEVALUE value{TWTY_INT16, Item};
        HGLOBAL container = GlobalAlloc(GHND, sizeof value);
        std::memcpy(MemoryLock(container).Data(), &value, sizeof value);
        TW_CAPABILITY capability{CAP_XFERCOUNT, TWON_ONEVALUE, container};
        const auto result = Control(DAT_CAPABILITY, MSG_SET, &capability);
        GlobalFree(container);
        return result;
    }

    static constexpr std::pair<int, int> kSuccess{TWRC_SUCCESS, 0};
    static constexpr std::pair<int, int> Failed(int Condition) { return {TWRC_FAILURE, Condition}; }
    TAcquireImage Client;
    TW_IDENTITY Source{};

private:
    size_t FLive = 0;
};

TEST_F(SourceManagerTest, TheSourcesAreSanesDevicesByName) {
    ASSERT_EQ(Manager(MSG_OPENDSM), kSuccess);
    EXPECT_NE(TW_UINT32(Client.AppIdentity.Id), 0u);
    TW_IDENTITY id{};
    ASSERT_EQ(Identity(MSG_GETFIRST, id), kSuccess);
    EXPECT_EQ(TW_UINT32(id.Id), 1u);
    EXPECT_STREQ(id.ProductName, "test:0");
    EXPECT_STREQ(id.Manufacturer, "Noname");
    EXPECT_STREQ(id.ProductFamily, "frontend-tester");
    EXPECT_EQ(TW_UINT32(id.SupportedGroups), DG_CONTROL | DG_IMAGE);
    ASSERT_EQ(Identity(MSG_GETNEXT, id), kSuccess);
    EXPECT_STREQ(id.ProductName, "test:1");
    EXPECT_EQ(Identity(MSG_GETNEXT, id).first, TWRC_ENDOFLIST);
    EXPECT_EQ(Identity(MSG_GETNEXT, id).first, TWRC_ENDOFLIST);
    ASSERT_EQ(Identity(MSG_GETDEFAULT, id), kSuccess);
    EXPECT_STREQ(id.ProductName, "test:0");
    EXPECT_EQ(OpenSource("test:7"), Failed(TWCC_NODS));
    id = {};
    id.Id = 99;
    EXPECT_EQ(Identity(MSG_OPENDS, id), Failed(TWCC_NODS));
    ASSERT_EQ(OpenSource("test:1"), kSuccess);
    EXPECT_EQ(TW_UINT32(Source.Id), 2u);
}

TEST_F(SourceManagerTest, TripletsOutOfTurnAreRefused) {
    TW_IDENTITY id{};
    TW_EVENT event{};
    TW_HANDLE picture = nullptr;
    EXPECT_EQ(Identity(MSG_GETFIRST, id), Failed(TWCC_SEQERROR));  // manager not open
    ASSERT_EQ(Manager(MSG_OPENDSM), kSuccess);
    EXPECT_EQ(Manager(MSG_OPENDSM), Failed(TWCC_SEQERROR));
    Source.Id = 1;
    EXPECT_EQ(Control(DAT_EVENT, MSG_PROCESSEVENT, &event), Failed(TWCC_BADDEST));  // no source open
    ASSERT_EQ(OpenSource("test:0"), kSuccess);
    TW_IDENTITY again = Source;
    EXPECT_EQ(Identity(MSG_OPENDS, again), Failed(TWCC_SEQERROR));
    EXPECT_EQ(Control(DAT_EVENT, MSG_PROCESSEVENT, &event), Failed(TWCC_SEQERROR));  // not enabled
    EXPECT_EQ(Call(&Source, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &picture), Failed(TWCC_SEQERROR));
    ASSERT_EQ(Enable(), kSuccess);
    EXPECT_EQ(SetTransferCount(1), Failed(TWCC_SEQERROR));  // only before enabling
    EXPECT_EQ(Identity(MSG_CLOSEDS, Source), Failed(TWCC_SEQERROR));
    EXPECT_EQ(Control(0x0006, MSG_GET, &event), Failed(TWCC_BADPROTOCOL));
    TW_IDENTITY other = Source;
    other.Id = 2;
    EXPECT_EQ(Call(&other, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), Failed(TWCC_BADDEST));
    Client.AppIdentity.Id += 1;  // another client
    EXPECT_EQ(Identity(MSG_GETFIRST, id), Failed(TWCC_SEQERROR));
    Client.AppIdentity.Id -= 1;
    // Closing the manager closes the source left open, and a new session starts afresh.
    EXPECT_EQ(Manager(MSG_CLOSEDSM), Failed(TWCC_SEQERROR));
    ASSERT_EQ(Manager(MSG_OPENDSM), kSuccess);
    EXPECT_EQ(OpenSource("test:0"), kSuccess);
}

TEST_F(SourceManagerTest, TheTransferCountIsOnePicturePerEnabling) {
    ASSERT_EQ(Manager(MSG_OPENDSM), kSuccess);
    ASSERT_EQ(OpenSource("test:0"), kSuccess);
    EXPECT_EQ(TransferCount(), -1);
    EXPECT_EQ(SetTransferCount(3).first, TWRC_CHECKSTATUS);
    EXPECT_EQ(TransferCount(), 1);
    EXPECT_EQ(SetTransferCount(0xFFFFFFFF), kSuccess);
    EXPECT_EQ(TransferCount(), -1);
    EXPECT_EQ(SetTransferCount(0), Failed(TWCC_BADVALUE));
    TW_CAPABILITY noContainer{CAP_XFERCOUNT, TWON_ONEVALUE, nullptr};
    EXPECT_EQ(Control(DAT_CAPABILITY, MSG_SET, &noContainer), Failed(TWCC_BADVALUE));
    TW_CAPABILITY other{0x1001, TWON_DONTCARE16, nullptr};
    EXPECT_EQ(Control(DAT_CAPABILITY, MSG_GET, &other), Failed(TWCC_CAPUNSUPPORTED));
}

TEST_F(SourceManagerTest, ReadinessArrivesAsAnEventThatWakesTheWaitingLoop) {
    ASSERT_EQ(Manager(MSG_OPENDSM), kSuccess);
    ASSERT_EQ(OpenSource("test:0"), kSuccess);
    ASSERT_EQ(Enable(), kSuccess);
    QObject stranger;
    QEvent foreign(QEvent::User);
    TPlatformMessage message{&stranger, &foreign};
    TW_EVENT event{&message, 0xAAAA};
    EXPECT_EQ(Control(DAT_EVENT, MSG_PROCESSEVENT, &event).first, TWRC_NOTDSEVENT);
    EXPECT_EQ(event.TWMessage, 0);
    event.pEvent = nullptr;
    EXPECT_EQ(Control(DAT_EVENT, MSG_PROCESSEVENT, &event).first, TWRC_NOTDSEVENT);
    {
        TSourceEventPump pump(
            [&](TPlatformMessage& Message, TW_UINT16& SourceMessage) {
                TW_EVENT routed{&Message, 0};
                const TW_UINT16 result = Client.DSMEntry(&Client.AppIdentity, &Source, DG_CONTROL, DAT_EVENT,
                                                         MSG_PROCESSEVENT, &routed);
                SourceMessage = routed.TWMessage;
                return result;
            },
            [] { return TW_UINT16(1); });
        const TSourceEventPump::TSourceEvent next = pump.Next();
        EXPECT_EQ(next.Result, TWRC_DSEVENT);
        EXPECT_EQ(next.Message, MSG_XFERREADY);
    }
    TW_HANDLE picture = nullptr;
    ASSERT_EQ(Call(&Source, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &picture).first, TWRC_XFERDONE);
    EXPECT_TRUE(IsValidMemoryHandle(static_cast<HGLOBAL>(picture)));
    GlobalFree(static_cast<HGLOBAL>(picture));
    TW_PENDINGXFERS pending{7, 0};
    EXPECT_EQ(Control(DAT_PENDINGXFERS, MSG_ENDXFER, &pending), kSuccess);
    EXPECT_EQ(pending.Count, 0);
    EXPECT_EQ(Control(DAT_PENDINGXFERS, MSG_RESET, &pending), kSuccess);
    TW_USERINTERFACE ui{};
    EXPECT_EQ(Control(DAT_USERINTERFACE, MSG_DISABLEDS, &ui), kSuccess);
    EXPECT_EQ(Identity(MSG_CLOSEDS, Source), kSuccess);
    EXPECT_EQ(Manager(MSG_CLOSEDSM), kSuccess);
}

}  // namespace
}  // namespace tam32::test
