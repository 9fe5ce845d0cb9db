#pragma once
// A step of every save failing for the length of a scope, as a full disk or
// a failing device would make it fail.
#include <cerrno>
#include <cstring>

#include <QString>

#include "platform/FileSave.h"

namespace tam32::test {

class TSaveFaultScope {
public:
    explicit TSaveFaultScope(TSaveStep Step, int Error = ENOSPC, int Occurrence = 1) {
        SetSaveFault(TSaveFault{Step, Error, Occurrence});
    }
    ~TSaveFaultScope() { SetSaveFault(std::nullopt); }
    TSaveFaultScope(const TSaveFaultScope&) = delete;
    TSaveFaultScope& operator=(const TSaveFaultScope&) = delete;
};

// The system's text for Error, as a failure report gives it.
inline QString SystemReason(int Error) { return QString::fromLocal8Bit(std::strerror(Error)); }

}  // namespace tam32::test
