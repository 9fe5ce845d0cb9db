#pragma once
// Every file the program writes goes through here: the content goes to a
// temporary file in the target's folder, every write, the flush, the fsync
// and the close are checked, and only then is it renamed over the target.
// A failure at any step removes the temporary file and leaves the old file
// as it was, byte for byte; nothing is ever written in place.
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "platform/Exceptions.h"
#include "platform/Stream.h"

namespace tam32 {

// A file that could not be written, with the system's reason.
class EFileSaveError : public EFCreateError {
public:
    EFileSaveError(const QString& FileName, const QString& Reason);
    const char* ClassName() const override { return "EFileSaveError"; }
    const QString& FileName() const { return FFileName; }
    const QString& Reason() const { return FReason; }

private:
    QString FFileName, FReason;
};

// Writes FileName through Write. The new file keeps the permission bits of
// the file it replaces (0666 less the umask for a new one); a link is kept
// and the file it points to replaced. EFileSaveError when a step fails; an
// exception of Write passes through, the old file kept all the same.
void SaveFileAtomically(const QString& FileName, const std::function<void(TStream&)>& Write);
void SaveFileAtomically(const QString& FileName, const QByteArray& Content);

// For tests: a step of every later save fails with Error, as the system
// would fail it (ENOSPC for a full disk). Write counts the writes to the
// system of one save from 1; the others happen once a save.
enum class TSaveStep { Write, Flush, Sync, Close, Rename };
struct TSaveFault {
    TSaveStep Step = TSaveStep::Write;
    int Error = 0;
    int Occurrence = 1;
};
void SetSaveFault(std::optional<TSaveFault> Fault);

}  // namespace tam32
