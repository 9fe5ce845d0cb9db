#include <gtest/gtest.h>

#include <QFile>
#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <link.h>
#include <memory>
#include <sys/stat.h>

#include "platform/MappedFile.h"

using namespace tam32;

namespace {

QByteArray MapsText() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) ? maps.readAll() : QByteArray();
}

TFileId FileIdOfPath(const char* Path) {
    struct stat status {};
    EXPECT_EQ(::stat(Path, &status), 0) << Path;
    return FileIdOf(status);
}

}  // namespace

TEST(MappedFile, ALoadedLibraryIsMappedFromItsOwnFile) {
    // The C library holds the address of its own function.
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<const void*>(&std::abort), &info), 0);
    const auto address = reinterpret_cast<uintptr_t>(&std::abort);
    const TFileId library = FileIdOfPath(info.dli_fname);
    EXPECT_NE(library.Inode, 0u);
    EXPECT_EQ(MappedFileAt(address), library);
    // The mapping list, which older systems are asked instead, says the same.
    EXPECT_EQ(MappedFileInList(MapsText(), address), library);
}

TEST(MappedFile, BothWaysAgreeOnEveryKindOfMemory) {
    const auto heap = std::make_unique<char[]>(64);
    int local = 0;
    struct Case {
        const char* Name;
        uintptr_t Address;
    };
    const Case cases[] = {
        {"the heap", reinterpret_cast<uintptr_t>(heap.get())},
        {"the stack", reinterpret_cast<uintptr_t>(&local)},
        {"this program's code", reinterpret_cast<uintptr_t>(&MapsText)},
        {"the lowest page, never mapped", 16},
    };
    const QByteArray maps = MapsText();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(MappedFileAt(c.Address), MappedFileInList(maps, c.Address));
    }
    EXPECT_EQ(MappedFileAt(16), std::nullopt);
    EXPECT_EQ(MappedFileAt(reinterpret_cast<uintptr_t>(&local))->Inode, 0u);
}

TEST(MappedFile, ALineThatDoesNotParseGivesNoFile) {
    const QByteArray maps = "1000-2000 r-xp 00000000 fe:00 1234 /lib/a.so\n"
                            "3000-4000 r--p 00000000 zz:00 99 /lib/b.so\n"
                            "5000-6000 rw-p 00000000 00:00 0\n"
                            "7000-8000 rw-p";
    EXPECT_EQ(MappedFileInList(maps, 0x1800), (TFileId{0xfe, 0, 1234}));
    EXPECT_EQ(MappedFileInList(maps, 0x2000), std::nullopt);
    EXPECT_EQ(MappedFileInList(maps, 0x3000), std::nullopt);
    EXPECT_EQ(MappedFileInList(maps, 0x5fff), (TFileId{0, 0, 0}));
    EXPECT_EQ(MappedFileInList(maps, 0x7000), std::nullopt);
}
