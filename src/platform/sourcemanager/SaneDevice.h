#pragma once
// One opened SANE device: the settings that the source's interface offers
// (scan mode and resolution) and the scan of one picture.
#include <sane/sane.h>

#include <QByteArray>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/SourceManagerAbi.h"

namespace tam32::sourcemanager {

// One frame as SANE delivered it: the whole picture, or one colour of a
// three-pass scan.
struct SaneFrame {
    SANE_Parameters Parameters{};
    std::vector<uint8_t> Bytes;
};

struct ResolutionRange {
    int Min;
    int Max;
    int Step;
};

class SaneDevice {
public:
    // SANE's status when the device cannot be opened.
    static SANE_Status Open(const QByteArray& Name, std::unique_ptr<SaneDevice>& Device);
    ~SaneDevice();
    SaneDevice(const SaneDevice&) = delete;
    SaneDevice& operator=(const SaneDevice&) = delete;

    // The scan modes offered; empty when the mode cannot be set.
    QStringList Modes() const;
    QString Mode() const;
    void SetMode(const QString& Mode);
    // Whole dots per inch; nullopt when the resolution cannot be set.
    std::optional<ResolutionRange> Resolutions() const;
    int Resolution() const;
    void SetResolution(int Dpi);
    // Dots per inch across and down as the device now stands; 0 when it does not say.
    double XResolution() const;
    double YResolution() const;

    // One picture: a single frame, or three for a three-pass colour scan.
    // More than MaxBytes of data gives SANE_STATUS_NO_MEM.
    SANE_Status Scan(std::vector<SaneFrame>& Frames, size_t MaxBytes);

private:
    explicit SaneDevice(SANE_Handle Handle) : FHandle(Handle) {}
    // The option's number when it is active (and settable when asked); -1 otherwise.
    int Option(const char* Name, bool Settable) const;
    double Number(const char* Name) const;
    SANE_Status ReadFrame(std::vector<uint8_t>& Bytes, size_t Limit);

    SANE_Handle FHandle;
};

// The condition code that reports a SANE failure.
TW_UINT16 ConditionOf(SANE_Status Status);

}  // namespace tam32::sourcemanager
