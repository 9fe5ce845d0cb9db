#pragma once
// The sources the manager offers: every device that SANE finds, for the
// length of one session with SANE.
#include <QByteArray>
#include <vector>

#include "platform/SourceManagerAbi.h"

namespace tam32::sourcemanager {

struct SourceDevice {
    TW_UINT32 Id;     // 1, 2, ... in the order SANE lists them
    QByteArray Name;  // SANE's device name, which the client selects by
    QByteArray Vendor;
    QByteArray Model;
    QByteArray Type;
};

// sane_init for its lifetime, sane_exit after.
class SaneSession {
public:
    SaneSession();
    ~SaneSession();
    SaneSession(const SaneSession&) = delete;
    SaneSession& operator=(const SaneSession&) = delete;
    bool Ready() const { return FReady; }
    int Version() const { return FVersion; }
    // Listed once per session; empty when SANE could not start.
    const std::vector<SourceDevice>& Devices();

private:
    bool FReady = false;
    bool FListed = false;
    int FVersion = 0;
    std::vector<SourceDevice> FDevices;
};

// The identity record of a source: its Id, the SANE version, the vendor as
// manufacturer, the model as product family and the device name as product
// name (each cut to the field).
void DescribeSource(const SaneSession& Session, const SourceDevice& Device, TW_IDENTITY& Identity);

}  // namespace tam32::sourcemanager
