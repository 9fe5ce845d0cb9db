#pragma once
// The exception family of the class library the program was designed on:
// every failure carries a class name and a message, and handlers show both.
#include <QString>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tam32 {

class Exception : public std::runtime_error {
public:
    explicit Exception(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message) {}
    const QString& Message() const { return FMessage; }
    virtual const char* ClassName() const { return "Exception"; }

private:
    QString FMessage;
};

// Declares an exception class that only adds its name.
#define TAM32_EXCEPTION(Name, Base)                                      \
    class Name : public Base {                                           \
    public:                                                              \
        using Base::Base;                                                \
        const char* ClassName() const override { return #Name; }        \
    }

TAM32_EXCEPTION(EOutOfMemory, Exception);
TAM32_EXCEPTION(EOutOfResources, EOutOfMemory);
TAM32_EXCEPTION(EConvertError, Exception);
TAM32_EXCEPTION(ERangeError, Exception);
TAM32_EXCEPTION(EIntOverflow, Exception);
TAM32_EXCEPTION(EInvalidOp, Exception);
TAM32_EXCEPTION(EStreamError, Exception);
TAM32_EXCEPTION(EFilerError, EStreamError);
TAM32_EXCEPTION(EReadError, EFilerError);
TAM32_EXCEPTION(EWriteError, EFilerError);
TAM32_EXCEPTION(EFOpenError, EStreamError);
TAM32_EXCEPTION(EFCreateError, EStreamError);
TAM32_EXCEPTION(EInvalidGraphic, Exception);
TAM32_EXCEPTION(EInvalidGraphicOperation, Exception);
TAM32_EXCEPTION(EIniFileException, Exception);
// The silent abort: handlers end the operation without showing a message.
TAM32_EXCEPTION(EAbort, Exception);

// A file longer than a file of its kind may be: it is neither read nor written.
class EFileTooLarge : public EFOpenError {
public:
    EFileTooLarge(const QString& FileName, int64_t Limit)
        : EFOpenError(QStringLiteral("\"%1\" is larger than %2 bytes").arg(FileName).arg(Limit)),
          FFileName(FileName),
          FLimit(Limit) {}
    const char* ClassName() const override { return "EFileTooLarge"; }
    const QString& FileName() const { return FFileName; }
    int64_t Limit() const { return FLimit; }

private:
    QString FFileName;
    int64_t FLimit;
};

// Texts of the run-time checks that the original raised without a message of its own.
inline const QString kRangeCheckError = QStringLiteral("Range check error");
inline const QString kIntOverflowError = QStringLiteral("Integer overflow");
inline const QString kInvalidFloatOp = QStringLiteral("Invalid floating point operation");

}  // namespace tam32
