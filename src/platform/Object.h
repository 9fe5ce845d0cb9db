#pragma once
// The root of the class hierarchy: every object can name its class (handlers
// show it beside the message), and persistent objects copy themselves from one
// another through Assign/AssignTo, failing with the original's text when a
// pair is not supported.
namespace tam32 {

class TObject {
public:
    virtual ~TObject() = default;
    virtual const char* ClassName() const { return "TObject"; }
};

class TPersistent : public TObject {
public:
    const char* ClassName() const override { return "TPersistent"; }
    // Default: ask the source to assign itself to this object.
    virtual void Assign(const TPersistent* Source);

protected:
    friend class TPersistentAccess;
    // Default: EConvertError "Cannot assign a <source> to a <dest>".
    virtual void AssignTo(TPersistent* Dest) const;
    void AssignError(const TPersistent* Source) const;
};

// Lets Assign implementations call another object's AssignTo.
class TPersistentAccess {
public:
    static void AssignTo(const TPersistent* Source, TPersistent* Dest) { Source->AssignTo(Dest); }
};

}  // namespace tam32
