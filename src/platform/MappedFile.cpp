#include "platform/MappedFile.h"

#include <QFile>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "platform/FileHandle.h"

namespace tam32 {
namespace {

// The question put to /proc/self/maps for one address, laid out as the
// kernel's <linux/fs.h> declares it from Linux 6.11 (not in older headers).
struct TMappingQuery {
    uint64_t Size, QueryFlags, QueryAddress;
    uint64_t Start, End, Flags, PageSize, Offset, Inode;  // the answer
    uint32_t DevMajor, DevMinor;
    uint32_t NameSize, BuildIdSize;  // 0: neither is wanted
    uint64_t NameAddress, BuildIdAddress;
};
constexpr unsigned long kQueryMapping = _IOWR('f', 17, TMappingQuery);

// The next field of a list line, from Pos up to a blank or Stop, parsed in Base.
template <class T>
bool ParseField(const char*& Pos, const char* End, int Base, char Stop, T& Value) {
    const auto [after, error] = std::from_chars(Pos, End, Value, Base);
    if (error != std::errc() || after == End || (*after != Stop && *after != ' ')) return false;
    Pos = after + 1;
    return true;
}

// Passes over one field of a list line.
bool SkipField(const char*& Pos, const char* End) {
    while (Pos != End && *Pos != ' ') ++Pos;
    if (Pos == End) return false;
    ++Pos;
    return true;
}

}  // namespace

TFileId FileIdOf(const struct stat& Status) {
    return {uint32_t(major(Status.st_dev)), uint32_t(minor(Status.st_dev)), uint64_t(Status.st_ino)};
}

std::optional<TFileId> MappedFileAt(uintptr_t Address) {
    const TFileHandle maps(::open("/proc/self/maps", O_RDONLY | O_CLOEXEC));
    if (maps.Get() < 0) return std::nullopt;
    TMappingQuery query{};
    query.Size = sizeof query;
    query.QueryAddress = Address;
    if (::ioctl(maps.Get(), kQueryMapping, &query) == 0) return TFileId{query.DevMajor, query.DevMinor, query.Inode};
    if (errno == ENOENT) return std::nullopt;  // nothing is mapped there
    // Its size shows as 0: it is read to its end, not to that size.
    QFile list;
    if (!list.open(maps.Get(), QIODevice::ReadOnly)) return std::nullopt;
    return MappedFileInList(list.readAll(), Address);
}

std::optional<TFileId> MappedFileInList(const QByteArray& Maps, uintptr_t Address) {
    // start-end perms offset major:minor inode path
    for (qsizetype start = 0; start < Maps.size();) {
        qsizetype end = Maps.indexOf('\n', start);
        if (end < 0) end = Maps.size();
        const char* pos = Maps.constData() + start;
        const char* const lineEnd = Maps.constData() + end;
        start = end + 1;
        uint64_t from = 0, to = 0;
        TFileId file;
        if (!ParseField(pos, lineEnd, 16, '-', from) || !ParseField(pos, lineEnd, 16, ' ', to)) continue;
        if (Address < from || Address >= to) continue;
        if (!SkipField(pos, lineEnd) || !SkipField(pos, lineEnd) || !ParseField(pos, lineEnd, 16, ':', file.Major) ||
            !ParseField(pos, lineEnd, 16, ' ', file.Minor))
            return std::nullopt;
        const auto [after, error] = std::from_chars(pos, lineEnd, file.Inode);
        if (error != std::errc()) return std::nullopt;
        return file;
    }
    return std::nullopt;
}

}  // namespace tam32
