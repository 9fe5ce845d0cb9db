#pragma once
// The folder dialog of the options dialog: a component that shows a folder
// browser modally and keeps the chosen folder between calls, so the next
// browse starts there. It stands in for the shell's folder browser with
// Qt's own (not the desktop's) file dialog in directory mode: the caption,
// the OK button's caption, the title (above the folder list) and the status
// line (only with bifStatusText) are shown as the properties say, and the
// events come at the same moments. Qt's dialog refuses typed names that are
// no folder itself, so OnValidateFailed never comes; shell identifier lists
// and system image indexes have no counterpart (ImageIndex stays -1).
#include <QObject>
#include <QString>
#include <functional>

#include "platform/SpecialFolder.h"

class QFileDialog;
class QWidget;

namespace tam32 {

class TSelectFolderDialog : public QObject {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject* Sender)>;
    using TCloseQueryEvent = std::function<void(QObject* Sender, bool& CanClose)>;
    using TValidateFailedEvent = std::function<void(QObject* Sender, const QString& FailedFolder, bool CanClose)>;

    // The browser is shown over Owner.
    explicit TSelectFolderDialog(QWidget* Owner = nullptr);

    // True when the user chose a folder; Cancel keeps the previous one.
    bool Execute();
    // The chosen folder's path; empty while none is chosen.
    QString GetDirectory() const { return FSelected; }

    // The special folder that the chosen folder is (sfNone for any other).
    TSpecialFolder SelectSpecialFolder() const;
    // Chooses that folder (none for sfNone), at once in an open browser.
    // EOleSysError when it does not exist on this machine.
    void SetSelectSpecialFolder(TSpecialFolder Folder);
    // Where browsing starts while no folder is chosen: this folder, the
    // home folder when it does not exist here, "/" for sfNone.
    TSpecialFolder RootSpecialFolder = TSpecialFolder::sfDesktop;
    TBrowseInfoOptions Options{TBrowseInfoOption::bifReturnOnlyFSDirs};
    QString Title;
    // The setters apply the text at once to an open browser; empty
    // captions leave the browser's own.
    const QString& StatusText() const { return FStatusText; }
    void SetStatusText(const QString& Text);
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& Text);
    const QString& OKButtonCaption() const { return FOKButtonCaption; }
    void SetOKButtonCaption(const QString& Text);

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
    // OK was pressed: CanClose False keeps the browser open.
    TCloseQueryEvent OnCanClose;
    TNotifyEvent OnFolderChange;
    TValidateFailedEvent OnValidateFailed;

    // The name of the last chosen folder.
    QString DisplayName;
    int ImageIndex = -1;

    // The browser while Execute shows it; nullptr otherwise.
    QFileDialog* Browser() const { return FBrowser; }

private:
    friend class TFolderBrowser;
    void ApplyTexts();
    void FolderChanged(const QString& Path);
    bool DoCanClose();

    QWidget* FOwner;
    QFileDialog* FBrowser = nullptr;
    QString FSelected;
    QString FStatusText;
    QString FCaption;
    QString FOKButtonCaption;
};

}  // namespace tam32
