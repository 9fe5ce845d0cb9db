#pragma once
// The image window as a script names it: its mouse-tool selectors ("tool"),
// its commands ("command", with the files of the batch and file-writing
// ones) and its fields ("print"). A new tool or command is one row here.
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>

namespace tam32 {
class TLeafImageWindow;
}

namespace tam32::probe {

using TWindowSelector = void (TLeafImageWindow::*)();
const std::map<QString, TWindowSelector>& WindowTools();

// Runs the command with its arguments; False when they do not fit it.
using TWindowCommand = std::function<bool(TLeafImageWindow& Window, const QStringList& Args)>;
const std::map<QString, TWindowCommand>& WindowCommands();

// The field's value as "print" shows it (rectangles and points as integers
// separated by blanks); nullopt for a name that is not a field.
std::optional<QString> WindowField(const TLeafImageWindow& Window, const QString& Name);

}  // namespace tam32::probe
