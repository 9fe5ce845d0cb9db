#pragma once
// What tells one state of a file from another without reading it: path,
// device, inode, size and the times of its last change. A cache keyed on it
// may keep only what was read from a settled file, since a file changed again
// within the same tick of the file system's clock, with the same size, keeps
// its identity.
#include <QString>
#include <sys/types.h>
#include <time.h>

namespace tam32 {

struct TFileIdentity {
    QString Path;  // canonical; empty for no regular file
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = -1;
    timespec Modified{}, Changed{};

    bool operator==(const TFileIdentity& Other) const;
    // Unchanged for long enough that a later change shows in its times.
    bool Settled() const;
};

TFileIdentity IdentifyFile(const QString& FileName);

}  // namespace tam32
