// Streams: all-or-nothing reads and writes, and saving a file whole.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/Exceptions.h"
#include "platform/Stream.h"

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
