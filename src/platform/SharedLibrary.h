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
    // The absolute path the loader opened; empty when it cannot say.
    QString ModuleFileName() const;

private:
    void* FHandle = nullptr;
};

// Loading a library runs its constructors with the user's rights, so a file
// that someone else could have written is never loaded: one that others than
// its owner may write (group or world) and one owned by neither the user nor
// root. The file is examined as the loader would open it, links followed.
// Why FileName must not be loaded; empty when it may be.
QString UntrustedLibraryReason(const QString& FileName);

}  // namespace tam32
