#pragma once
// A loaded shared object (the stand-in for LoadLibrary, GetProcAddress,
// GetModuleFileName and FreeLibrary). The object owns its reference: it is
// released when the object goes, so a half-built owner never leaks a load.
#include <QString>

namespace tam32 {

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary() { Unload(); }
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Binds every symbol at once, so a library with unresolvable references
    // fails here rather than when a function is first called. False when the
    // file cannot be loaded or UntrustedLibraryReason refuses it.
    bool Load(const QString& FileName);
    void Unload();
    // nullptr when the library lacks the symbol (or is not loaded).
    void* Symbol(const char* Name) const;
    // The absolute path of the file loaded, its folders' links resolved;
    // empty when none is loaded.
    const QString& ModuleFileName() const { return FFileName; }

private:
    void* FHandle = nullptr;
    QString FFileName;
};

// Loading a library runs its constructors with the user's rights, so no file
// that someone else could have written or replaced is loaded: the file
// itself and every folder from the root down to it must belong to the
// (effective) user or to root and be writable by no one else, a sticky
// folder included, and the file must not be a link. Load opens the file
// once, examines what it opened and loads exactly that.
// Why FileName must not be loaded; empty when it may be.
QString UntrustedLibraryReason(const QString& FileName);
// dlopen's handle (every symbol bound at once, none shared) of the file
// FileName, which UntrustedLibraryReason passed; nullptr when it did not or
// the file does not load. LoadedPath, if given, becomes ModuleFileName's
// path. The caller dlcloses the handle.
void* LoadTrustedLibrary(const QString& FileName, QString* LoadedPath = nullptr);

}  // namespace tam32
