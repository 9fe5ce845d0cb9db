#include "platform/Object.h"

#include "platform/Exceptions.h"

namespace tam32 {

void TPersistent::Assign(const TPersistent* Source) {
    if (Source != nullptr)
        TPersistentAccess::AssignTo(Source, this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
    const QString source = Source != nullptr ? QString::fromLatin1(Source->ClassName())
                                             : QStringLiteral("nil");
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(source, QString::fromLatin1(ClassName())));
}

}  // namespace tam32
