#pragma once
// The name under which a corrected picture is written. Every corrected
// picture (distortion, north-up and slope, filter, control points) is a BMP
// file and opens by its name, so the name must say BMP: one without an
// extension gets ".BMP", ".bmp" in any letter case stays as typed, and any
// other extension is replaced by ".BMP" ("out.txt" writes "out.BMP"), except
// that of another picture format the program reads, which would promise a
// picture of that format: such a name is refused.
#include <QString>
#include <QStringList>
#include <optional>

namespace tam32 {

// The name to write for Chosen, or nullopt when its extension is one of
// Readable (extensions without the dot, compared without case) other than bmp.
std::optional<QString> CorrectedPictureName(const QString& Chosen, const QStringList& Readable);

}  // namespace tam32
