#pragma once
// The source's own interface, shown while the source is enabled with its
// interface: scan mode and resolution, then Scan or Cancel. It does not
// block: the client's event loop runs it, and the answer comes back through
// Finished (true for Scan, after the settings were given to the device).
#include <QString>
#include <functional>
#include <memory>

class QDialog;
class QWindow;

namespace tam32::sourcemanager {

class SaneDevice;

class SourceSettingsDialog {
public:
    SourceSettingsDialog(SaneDevice& Device, const QString& Title, QWindow* Parent, bool Modal,
                         std::function<void(bool Scan)> Finished);
    // Closes the dialog without an answer.
    ~SourceSettingsDialog();
    SourceSettingsDialog(const SourceSettingsDialog&) = delete;
    SourceSettingsDialog& operator=(const SourceSettingsDialog&) = delete;

private:
    std::unique_ptr<QDialog> FDialog;
};

}  // namespace tam32::sourcemanager
