#include "platform/sourcemanager/SaneDevice.h"

#include <sane/saneopts.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace tam32::sourcemanager {

namespace {

constexpr size_t kReadChunk = 64 * 1024;
constexpr size_t kMaxFrames = 3;

// Ends every scan, also after its last frame, as SANE asks.
class ScanEnd {
public:
    explicit ScanEnd(SANE_Handle Handle) : FHandle(Handle) {}
    ~ScanEnd() { sane_cancel(FHandle); }
    ScanEnd(const ScanEnd&) = delete;
    ScanEnd& operator=(const ScanEnd&) = delete;

private:
    SANE_Handle FHandle;
};

bool IsNumber(const SANE_Option_Descriptor& D) {
    return (D.type == SANE_TYPE_INT || D.type == SANE_TYPE_FIXED) && D.size >= SANE_Int(sizeof(SANE_Word));
}

double ToNumber(const SANE_Option_Descriptor& D, SANE_Word Value) {
    return D.type == SANE_TYPE_FIXED ? SANE_UNFIX(Value) : double(Value);
}

}  // namespace

SANE_Status SaneDevice::Open(const QByteArray& Name, std::unique_ptr<SaneDevice>& Device) {
    SANE_Handle handle = nullptr;
    const SANE_Status status = sane_open(Name.constData(), &handle);
    if (status != SANE_STATUS_GOOD) return status;
    Device.reset(new SaneDevice(handle));
    return SANE_STATUS_GOOD;
}

SaneDevice::~SaneDevice() { sane_close(FHandle); }

int SaneDevice::Option(const char* Name, bool Settable) const {
    for (SANE_Int i = 1;; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(FHandle, i);
        if (d == nullptr) return -1;
        if (d->name == nullptr || std::strcmp(d->name, Name) != 0) continue;
        if (!SANE_OPTION_IS_ACTIVE(d->cap) || (Settable && !SANE_OPTION_IS_SETTABLE(d->cap))) return -1;
        return i;
    }
}

QStringList SaneDevice::Modes() const {
    QStringList modes;
    const int option = Option(SANE_NAME_SCAN_MODE, true);
    if (option < 0) return modes;
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(FHandle, option);
    if (d->type != SANE_TYPE_STRING || d->constraint_type != SANE_CONSTRAINT_STRING_LIST) return modes;
    for (const SANE_String_Const* s = d->constraint.string_list; *s != nullptr; ++s)
        modes << QString::fromUtf8(*s);
    return modes;
}

QString SaneDevice::Mode() const {
    const int option = Option(SANE_NAME_SCAN_MODE, false);
    if (option < 0) return {};
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(FHandle, option);
    if (d->type != SANE_TYPE_STRING || d->size <= 0) return {};
    QByteArray value(d->size, '\0');
    if (sane_control_option(FHandle, option, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
        return {};
    return QString::fromUtf8(value.constData(), qsizetype(strnlen(value.constData(), size_t(value.size()))));
}

void SaneDevice::SetMode(const QString& Mode) {
    const int option = Option(SANE_NAME_SCAN_MODE, true);
    if (option < 0) return;
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(FHandle, option);
    const QByteArray text = Mode.toUtf8();
    if (d->type != SANE_TYPE_STRING || text.size() >= d->size) return;
    QByteArray value(d->size, '\0');
    std::memcpy(value.data(), text.constData(), size_t(text.size()));
    sane_control_option(FHandle, option, SANE_ACTION_SET_VALUE, value.data(), nullptr);
}

std::optional<ResolutionRange> SaneDevice::Resolutions() const {
    const int option = Option(SANE_NAME_SCAN_RESOLUTION, true);
    if (option < 0) return std::nullopt;
    const SANE_Option_Descriptor& d = *sane_get_option_descriptor(FHandle, option);
    if (!IsNumber(d)) return std::nullopt;
    double low, high, step = 1;
    if (d.constraint_type == SANE_CONSTRAINT_RANGE) {
        low = ToNumber(d, d.constraint.range->min);
        high = ToNumber(d, d.constraint.range->max);
        step = std::max(1.0, ToNumber(d, d.constraint.range->quant));
    } else if (d.constraint_type == SANE_CONSTRAINT_WORD_LIST && d.constraint.word_list[0] > 0) {
        const SANE_Word* list = d.constraint.word_list;  // the count, then the values
        low = high = ToNumber(d, list[1]);
        for (SANE_Word i = 2; i <= list[0]; ++i) {
            low = std::min(low, ToNumber(d, list[i]));
            high = std::max(high, ToNumber(d, list[i]));
        }
    } else {
        return std::nullopt;
    }
    const int min = std::max(1, int(std::ceil(low)));
    const int max = int(std::floor(std::min(high, 1e6)));
    if (max < min) return std::nullopt;
    return ResolutionRange{min, max, int(std::min(step, 1e6))};
}

int SaneDevice::Resolution() const { return int(std::nearbyint(Number(SANE_NAME_SCAN_RESOLUTION))); }

void SaneDevice::SetResolution(int Dpi) {
    const int option = Option(SANE_NAME_SCAN_RESOLUTION, true);
    if (option < 0) return;
    const SANE_Option_Descriptor& d = *sane_get_option_descriptor(FHandle, option);
    if (!IsNumber(d)) return;
    std::vector<SANE_Word> value(size_t(d.size) / sizeof(SANE_Word),
                                 d.type == SANE_TYPE_FIXED ? SANE_FIX(Dpi) : SANE_Word(Dpi));
    sane_control_option(FHandle, option, SANE_ACTION_SET_VALUE, value.data(), nullptr);
}

double SaneDevice::Number(const char* Name) const {
    const int option = Option(Name, false);
    if (option < 0) return 0;
    const SANE_Option_Descriptor& d = *sane_get_option_descriptor(FHandle, option);
    if (!IsNumber(d)) return 0;
    std::vector<SANE_Word> value(size_t(d.size) / sizeof(SANE_Word));
    if (sane_control_option(FHandle, option, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
        return 0;
    return ToNumber(d, value[0]);
}

double SaneDevice::XResolution() const {
    const double x = Number(SANE_NAME_SCAN_X_RESOLUTION);
    return x > 0 ? x : Number(SANE_NAME_SCAN_RESOLUTION);
}

double SaneDevice::YResolution() const {
    const double y = Number(SANE_NAME_SCAN_Y_RESOLUTION);
    return y > 0 ? y : XResolution();
}

SANE_Status SaneDevice::Scan(std::vector<SaneFrame>& Frames, size_t MaxBytes) {
    Frames.clear();
    ScanEnd end(FHandle);
    size_t total = 0;
    try {
        for (;;) {
            if (Frames.size() == kMaxFrames) return SANE_STATUS_INVAL;  // more frames than a picture has
            SANE_Status status = sane_start(FHandle);
            if (status != SANE_STATUS_GOOD) return status;
            SaneFrame frame;
            status = sane_get_parameters(FHandle, &frame.Parameters);
            if (status != SANE_STATUS_GOOD) return status;
            const SANE_Parameters& p = frame.Parameters;
            if (p.lines > 0 && p.bytes_per_line > 0)
                frame.Bytes.reserve(std::min(size_t(p.lines) * size_t(p.bytes_per_line), MaxBytes - total));
            status = ReadFrame(frame.Bytes, MaxBytes - total);
            if (status != SANE_STATUS_GOOD) return status;
            total += frame.Bytes.size();
            const bool last = p.last_frame != SANE_FALSE;
            Frames.push_back(std::move(frame));
            if (last) return SANE_STATUS_GOOD;
        }
    } catch (const std::bad_alloc&) {
        Frames.clear();
        return SANE_STATUS_NO_MEM;
    }
}

SANE_Status SaneDevice::ReadFrame(std::vector<uint8_t>& Bytes, size_t Limit) {
    for (;;) {
        const size_t chunk = std::min(kReadChunk, Limit - Bytes.size());
        if (chunk == 0) return SANE_STATUS_NO_MEM;
        const size_t start = Bytes.size();
        Bytes.resize(start + chunk);
        SANE_Int length = 0;
        const SANE_Status status = sane_read(FHandle, Bytes.data() + start, SANE_Int(chunk), &length);
        const size_t got =
            status == SANE_STATUS_GOOD ? std::clamp<size_t>(size_t(std::max(length, 0)), 0, chunk) : 0;
        Bytes.resize(start + got);
        if (status == SANE_STATUS_EOF) return SANE_STATUS_GOOD;
        if (status != SANE_STATUS_GOOD) return status;
    }
}

TW_UINT16 ConditionOf(SANE_Status Status) {
    switch (Status) {
        case SANE_STATUS_NO_MEM: return TWCC_LOWMEMORY;
        case SANE_STATUS_JAMMED: return TWCC_PAPERJAM;
        case SANE_STATUS_ACCESS_DENIED: return TWCC_DENIED;
        default: return TWCC_BUMMER;
    }
}

}  // namespace tam32::sourcemanager
