#pragma once
// Which file a piece of this process's memory is mapped from, so that a
// loaded library can be told from another of the same name.
#include <QByteArray>
#include <cstdint>
#include <optional>

struct stat;

namespace tam32 {

struct TFileId {
    uint32_t Major = 0, Minor = 0;  // the device
    uint64_t Inode = 0;             // 0 for memory that no file backs
    bool operator==(const TFileId&) const = default;
};

// The file of status (from stat or fstat).
TFileId FileIdOf(const struct stat& Status);

// The file mapped at Address; empty when nothing is mapped there or the
// system cannot say. The kernel answers for the one address where it can
// (Linux 6.11 on); older kernels list every mapping, which costs a
// fraction of a millisecond with the program's libraries loaded.
std::optional<TFileId> MappedFileAt(uintptr_t Address);

// The file mapped at Address as the mapping list Maps (the text of
// /proc/self/maps) gives it; empty when no line holds Address.
std::optional<TFileId> MappedFileInList(const QByteArray& Maps, uintptr_t Address);

}  // namespace tam32
