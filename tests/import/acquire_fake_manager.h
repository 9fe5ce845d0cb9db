#pragma once
// A source manager inside the test program: it records every triplet the
// scanner client makes and answers as the test scripts it, so the client's
// own steps can be checked one by one.
#include <QObject>
#include <deque>
#include <vector>

#include "import/AcquireImage.h"

namespace tam32::test {

struct Triplet {
    TW_UINT32 DG;
    TW_UINT16 DAT;
    TW_UINT16 MSG;
    bool ToSource;
    bool operator==(const Triplet&) const = default;
};

class FakeManager {
public:
    // Points the client at this manager.
    explicit FakeManager(TAcquireImage& Client);
    ~FakeManager();
    // The log with repeated MSG_PROCESSEVENT lines (one per event that passed) as one.
    std::vector<Triplet> Steps() const;

    // What was seen.
    std::vector<Triplet> Log;
    bool OnlyTheClientsRecords = true;  // origin AppIdentity, destination SourceIdentity or none
    TW_IDENTITY AppAtOpen{};
    TW_CAPABILITY SetRequest{};
    TW_ONEVALUE SetValue{};
    bool SetContainerLive = false;
    TW_CAPABILITY GetRequest{};
    TW_USERINTERFACE Enabled{};
    std::vector<HGLOBAL> Delivered;
    int ForeignEvents = 0;  // events of other receivers passed through MSG_PROCESSEVENT

    // The script.
    TW_UINT16 OpenResult = TWRC_SUCCESS;
    TW_UINT16 CloseResult = TWRC_SUCCESS;
    std::vector<QByteArray> Sources{"Alpha", "Beta", "Gamma"};
    TW_UINT16 SelectResult = TWRC_SUCCESS;  // of MSG_USERSELECT, which chooses "Beta"
    TW_UINT16 OpenSourceResult = TWRC_SUCCESS;
    TW_UINT16 SetResult = TWRC_SUCCESS;
    TW_UINT16 GetResult = TWRC_SUCCESS;
    TW_UINT16 EnableResult = TWRC_SUCCESS;
    TW_UINT16 FirstMessage = MSG_XFERREADY;  // posted on enabling, after FirstMessageDelay ms
    int FirstMessageDelay = 0;
    bool FailProcessing = false;
    std::deque<TW_UINT16> Transfers{TWRC_XFERDONE};  // one result per transfer
    std::deque<TW_UINT16> PendingAfter{0};           // Count after each MSG_ENDXFER; not 0 announces another
    bool PictureWithCancel = false;                  // a cancelled transfer still hands over a block
    TW_UINT16 Condition = TWCC_SUCCESS;
    TW_UINT16 StatusResult = TWRC_SUCCESS;

    static Triplet Manager(TW_UINT16 DAT, TW_UINT16 MSG) { return {DG_CONTROL, DAT, MSG, false}; }
    static Triplet Source(TW_UINT16 DAT, TW_UINT16 MSG) { return {DG_CONTROL, DAT, MSG, true}; }

    TW_UINT16 Entry(TW_IDENTITY* Origin, TW_IDENTITY* Dest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                    TW_MEMREF Data);

private:
    TW_UINT16 Identity(TW_UINT16 MSG, TW_IDENTITY& Identity);
    TW_UINT16 ToSource(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF Data);
    void Post(TW_UINT16 Message);

    TAcquireImage& FClient;
    size_t FNext = 0;
    QObject FReceiver;
};

}  // namespace tam32::test
