// Streams: all-or-nothing reads and writes, and saving a file whole.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "platform/Exceptions.h"
#include "platform/Stream.h"
#include "common/save_fault.h"
#include "platform/FileSave.h"

using namespace tam32;

TEST(Streams, ShortReadsRaiseAndAppendsGrow) {
    TMemoryStream stream(std::vector<uint8_t>{1, 2, 3});
    uint8_t buffer[4];
    EXPECT_THROW(stream.ReadBuffer(buffer, 4), EReadError);
    stream.SetPosition(3);
    std::vector<uint8_t> big(5 << 20, 7);
    stream.WriteBuffer(big.data(), int64_t(big.size()));
    stream.SetPosition(1);
    stream.WriteBuffer(buffer, 0);
    const uint8_t nine = 9;
    stream.WriteBuffer(&nine, 1);
    EXPECT_EQ(stream.Size(), int64_t(3 + big.size()));
    EXPECT_EQ(stream.Data()[1], 9);
    EXPECT_EQ(stream.Data()[3 + big.size() - 1], 7);
}

TEST(Streams, AFailedSaveLeavesTheOldFileAndNoLeftovers) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    SaveFileAtomically(path, [](TStream& s) { s.WriteBuffer("old", 3); });
    EXPECT_THROW(SaveFileAtomically(path,
                                    [](TStream& s) {
                                        s.WriteBuffer("new", 3);
                                        throw EWriteError(QStringLiteral("Stream write error"));
                                    }),
                 EWriteError);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    EXPECT_THROW(SaveFileAtomically(dir.filePath(QStringLiteral("missing/x.bmp")), [](TStream&) {}), EFCreateError);
}

TEST(Streams, EachStepOfASaveThatFailsKeepsTheOldFileByteForByteAndSaysWhy) {
    struct TCase {
        const char* Step;
        TSaveStep Fault;
        int Error, Occurrence;
    } const cases[] = {
        {"the first write", TSaveStep::Write, ENOSPC, 1}, {"the second write", TSaveStep::Write, EIO, 2},
        {"the flush", TSaveStep::Flush, ENOSPC, 1},        {"the fsync", TSaveStep::Sync, EIO, 1},
        {"the close", TSaveStep::Close, EDQUOT, 1},        {"the rename", TSaveStep::Rename, EXDEV, 1},
    };
    // A header and a body of more than one piece: two writes to the system.
    const auto writeNew = [](TStream& s) {
        s.WriteBuffer("header", 6);
        const QByteArray body(300000, 'n');
        s.WriteBuffer(body.constData(), body.size());
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Step);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.ini"));
        SaveFileAtomically(path, QByteArray("old content"));
        ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        try {
            const test::TSaveFaultScope fault(c.Fault, c.Error, c.Occurrence);
            SaveFileAtomically(path, writeNew);
            ADD_FAILURE() << "the save reported success";
        } catch (const EFileSaveError& e) {
            EXPECT_EQ(e.FileName(), path);
            EXPECT_EQ(e.Reason(), test::SystemReason(c.Error));
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("old content"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("settings.ini")});
    }
}

TEST(Streams, ASavedFileKeepsThePermissionsOfTheFileItReplacesAndANewOneFollowsTheUmask) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("classifier.dis"));
    const mode_t mask = ::umask(027);
    SaveFileAtomically(path, QByteArray("first"));
    EXPECT_EQ(QFileInfo(path).permissions() & 0x0FFF, QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    ::umask(mask);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    SaveFileAtomically(path, QByteArray("second"));
    EXPECT_EQ(QFileInfo(path).permissions() & 0x0FFF, QFile::ReadUser | QFile::WriteUser);
    // Through a link the file it points to is replaced and the link stays.
    const QString link = dir.filePath(QStringLiteral("link.dis"));
    ASSERT_TRUE(QFile::link(path, link));
    SaveFileAtomically(link, QByteArray("third"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("third"));
}

TEST(Streams, ALargeFileReadGivesTheBytesFromThePositionAndStopsAtTheEnd) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.bin"));
    // A size off the page size, so the parts of a large read end unevenly.
    std::vector<uint8_t> bytes((20 << 20) + 4321);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 2654435761u >> 13);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    struct TCase {
        int64_t Position, Count, Expected;
    };
    const int64_t size = int64_t(bytes.size());
    for (const TCase c : {TCase{0, size, size}, TCase{777, 9 << 20, 9 << 20}, TCase{12345, size, size - 12345},
                          TCase{size - 100, 9 << 20, 100}}) {
        SCOPED_TRACE(testing::Message() << c.Position << " + " << c.Count);
        TFileStream stream(path);
        stream.SetPosition(c.Position);
        std::vector<uint8_t> buffer(size_t(c.Count), 0);
        EXPECT_EQ(stream.Read(buffer.data(), c.Count), c.Expected);
        EXPECT_EQ(stream.Position(), c.Position + c.Expected);
        EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + c.Expected, bytes.begin() + c.Position));
    }
}
