#include "platform/sourcemanager/SourceDevices.h"

#include <sane/sane.h>

#include <cstring>

#include "platform/TwainText.h"

namespace tam32::sourcemanager {

SaneSession::SaneSession() {
    SANE_Int version = 0;
    FReady = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
    FVersion = version;
}

SaneSession::~SaneSession() {
    if (FReady) sane_exit();
}

const std::vector<SourceDevice>& SaneSession::Devices() {
    if (FReady && !FListed) {
        FListed = true;
        const SANE_Device** list = nullptr;
        // Network scanners count too.
        if (sane_get_devices(&list, SANE_FALSE) == SANE_STATUS_GOOD && list != nullptr)
            for (const SANE_Device** d = list; *d != nullptr; ++d)
                FDevices.push_back({TW_UINT32(FDevices.size() + 1), QByteArray((*d)->name),
                                    QByteArray((*d)->vendor), QByteArray((*d)->model), QByteArray((*d)->type)});
    }
    return FDevices;
}

void DescribeSource(const SaneSession& Session, const SourceDevice& Device, TW_IDENTITY& Identity) {
    std::memset(&Identity, 0, sizeof Identity);
    Identity.Id = Device.Id;
    Identity.Version.MajorNum = TW_UINT16(SANE_VERSION_MAJOR(Session.Version()));
    Identity.Version.MinorNum = TW_UINT16(SANE_VERSION_MINOR(Session.Version()));
    SetTwainText(Identity.Version.Info, QString::fromUtf8(Device.Type));
    Identity.ProtocolMajor = 1;
    Identity.ProtocolMinor = 8;
    Identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    SetTwainText(Identity.Manufacturer, QString::fromUtf8(Device.Vendor));
    SetTwainText(Identity.ProductFamily, QString::fromUtf8(Device.Model));
    SetTwainText(Identity.ProductName, QString::fromUtf8(Device.Name));
}

}  // namespace tam32::sourcemanager
