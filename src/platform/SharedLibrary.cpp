#include "platform/SharedLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <link.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "platform/FileHandle.h"
#include "platform/MappedFile.h"

namespace tam32 {
namespace {

bool OwnedByUserOrRoot(const struct stat& Status) { return Status.st_uid == geteuid() || Status.st_uid == 0; }
bool OthersMayWrite(const struct stat& Status) { return (Status.st_mode & (S_IWGRP | S_IWOTH)) != 0; }

// Why the folder Name, opened as Folder, may not hold code; empty when it may.
QString UntrustedFolderReason(const TFileHandle& Folder, const QString& Name) {
    struct stat status;
    if (Folder.Get() < 0 || ::fstat(Folder.Get(), &status) != 0)
        return QStringLiteral("the folder %1 cannot be opened").arg(Name);
    // A sticky bit keeps others from replacing a file, not from adding one.
    if (OthersMayWrite(status)) return QStringLiteral("others than its owner may write the folder %1").arg(Name);
    if (!OwnedByUserOrRoot(status)) return QStringLiteral("the folder %1 belongs to another user").arg(Name);
    return QString();
}

// Why the library file open as File may not be loaded; empty when it may.
QString UntrustedFileReason(const TFileHandle& File, int OpenError) {
    struct stat status;
    if (File.Get() < 0) return OpenError == ELOOP ? QStringLiteral("it is a link") : QStringLiteral("it cannot be opened");
    if (::fstat(File.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return QStringLiteral("it is not a plain file");
    if (OthersMayWrite(status)) return QStringLiteral("others than its owner may write it");
    if (!OwnedByUserOrRoot(status)) return QStringLiteral("it belongs to another user");
    return QString();
}

// The library file FileName opened once, without following a link, after
// every folder from the root down to it and then the file passed; Path
// becomes its name below those folders. An invalid handle and the Reason
// otherwise.
TFileHandle OpenTrusted(const QString& FileName, QString& Reason, QString& Path) {
    const QFileInfo file(FileName);
    char resolved[PATH_MAX];
    if (::realpath(QFile::encodeName(file.absolutePath()).constData(), resolved) == nullptr) {
        Reason = QStringLiteral("its folder cannot be found");
        return TFileHandle();
    }
    const QString folder = QFile::decodeName(resolved);
    // Each folder is opened from the one above it, never through a link, so
    // the folders examined are the ones the file is opened in.
    QString walked = QStringLiteral("/");
    TFileHandle at(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    Reason = UntrustedFolderReason(at, walked);
    for (const QString& name : folder.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!Reason.isEmpty()) return TFileHandle();
        walked = QDir(walked).filePath(name);
        at = TFileHandle(
            ::openat(at.Get(), QFile::encodeName(name).constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        Reason = UntrustedFolderReason(at, walked);
    }
    if (!Reason.isEmpty()) return TFileHandle();
    TFileHandle library(
        ::openat(at.Get(), QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    Reason = UntrustedFileReason(library, errno);
    if (!Reason.isEmpty()) return TFileHandle();
    Path = QDir(folder).filePath(file.fileName());
    return library;
}

// Whether the library Handle was mapped from the open file File: the
// mapping that holds its dynamic section is of the same device and inode.
bool IsLoadedFrom(void* Handle, int File) {
    link_map* map = nullptr;
    struct stat status;
    if (dlinfo(Handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || ::fstat(File, &status) != 0) return false;
    return MappedFileAt(reinterpret_cast<uintptr_t>(map->l_ld)) == FileIdOf(status);
}

}  // namespace

QString UntrustedLibraryReason(const QString& FileName) {
    QString reason, path;
    OpenTrusted(FileName, reason, path);
    return reason;
}

void* LoadTrustedLibrary(const QString& FileName, QString* LoadedPath) {
    QString reason, path;
    TFileHandle library = OpenTrusted(FileName, reason, path);
    if (library.Get() < 0) return nullptr;
    // The loader opens exactly the file that was examined, by the name of
    // its handle. It hands back a library loaded before under the same name,
    // though, and handle numbers come again: then the file goes under
    // another number, the numbers tried held until the load is done.
    std::vector<TFileHandle> tried;
    for (int attempt = 0; attempt < 8; ++attempt) {
        // Local binding keeps one library's symbols from answering another's lookups.
        void* handle = dlopen(QStringLiteral("/proc/self/fd/%1").arg(library.Get()).toLatin1().constData(),
                              RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return nullptr;
        if (IsLoadedFrom(handle, library.Get())) {
            if (LoadedPath != nullptr) *LoadedPath = path;
            return handle;
        }
        dlclose(handle);
        TFileHandle copy(::fcntl(library.Get(), F_DUPFD_CLOEXEC, 0));
        tried.push_back(std::move(library));
        library = std::move(copy);
    }
    return nullptr;
}

bool SharedLibrary::Load(const QString& FileName) {
    Unload();
    FHandle = LoadTrustedLibrary(FileName, &FFileName);
    return FHandle != nullptr;
}

void SharedLibrary::Unload() {
    if (FHandle != nullptr) dlclose(FHandle);
    FHandle = nullptr;
    FFileName.clear();
}

void* SharedLibrary::Symbol(const char* Name) const {
    return FHandle != nullptr ? dlsym(FHandle, Name) : nullptr;
}

}  // namespace tam32
