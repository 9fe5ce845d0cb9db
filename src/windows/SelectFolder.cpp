#include "windows/SelectFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QShowEvent>

namespace tam32 {

// The browser of one Execute: asks the component before it accepts and
// tells it when it shows.
class TFolderBrowser : public QFileDialog {
public:
    TFolderBrowser(TSelectFolderDialog& Component, QWidget* Parent) : QFileDialog(Parent), FComponent(Component) {
        setObjectName(QStringLiteral("SelectFolderDialog"));
        setOption(QFileDialog::DontUseNativeDialog);
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly);
        StatusLine = new QLabel(this);
        StatusLine->setObjectName(QStringLiteral("StatusText"));
        if (auto* grid = qobject_cast<QGridLayout*>(layout())) grid->addWidget(StatusLine, grid->rowCount(), 0, 1, -1);
    }

    void accept() override {
        if (FComponent.DoCanClose()) QFileDialog::accept();
    }

    QLabel* StatusLine;

protected:
    void showEvent(QShowEvent* Event) override {
        QFileDialog::showEvent(Event);
        if (!Event->spontaneous() && FComponent.OnShow) FComponent.OnShow(&FComponent);
    }

private:
    TSelectFolderDialog& FComponent;
};

TSelectFolderDialog::TSelectFolderDialog(QWidget* Owner) : QObject(Owner), FOwner(Owner) {}

bool TSelectFolderDialog::Execute() {
    const QString previous = FSelected;
    TFolderBrowser browser(*this, FOwner);
    QString start = FSelected;
    if (start.isEmpty()) {
        start = RootSpecialFolder == TSpecialFolder::sfNone ? QDir::rootPath()
                                                            : SpecialFolderPath(RootSpecialFolder).value_or(QDir::homePath());
    }
    browser.setDirectory(start);
    if (!Title.isEmpty()) browser.setLabelText(QFileDialog::LookIn, Title);
    connect(&browser, &QFileDialog::currentChanged, this, &TSelectFolderDialog::FolderChanged);
    connect(&browser, &QFileDialog::directoryEntered, this, &TSelectFolderDialog::FolderChanged);
    FBrowser = &browser;
    ApplyTexts();
    const bool chosen = browser.exec() == QDialog::Accepted && !browser.selectedFiles().isEmpty();
    FBrowser = nullptr;
    if (OnClose) OnClose(this);
    if (!chosen) {
        FSelected = previous;
        return false;
    }
    FSelected = QDir::cleanPath(browser.selectedFiles().first());
    DisplayName = QFileInfo(FSelected).fileName();
    return true;
}

TSpecialFolder TSelectFolderDialog::SelectSpecialFolder() const { return SpecialFolderOf(FSelected); }

void TSelectFolderDialog::SetSelectSpecialFolder(TSpecialFolder Folder) {
    if (Folder == TSpecialFolder::sfNone) {
        FSelected.clear();
        return;
    }
    const std::optional<QString> path = SpecialFolderPath(Folder);
    if (!path) throw EOleSysError(QStringLiteral("The special folder does not exist on this machine"));
    FSelected = *path;
    if (FBrowser != nullptr) FBrowser->setDirectory(FSelected);
}

void TSelectFolderDialog::SetStatusText(const QString& Text) {
    FStatusText = Text;
    ApplyTexts();
}

void TSelectFolderDialog::SetCaption(const QString& Text) {
    FCaption = Text;
    ApplyTexts();
}

void TSelectFolderDialog::SetOKButtonCaption(const QString& Text) {
    FOKButtonCaption = Text;
    ApplyTexts();
}

void TSelectFolderDialog::ApplyTexts() {
    auto* browser = static_cast<TFolderBrowser*>(FBrowser);
    if (browser == nullptr) return;
    const bool statusShown = Options.Contains(TBrowseInfoOption::bifStatusText);
    browser->StatusLine->setVisible(statusShown);
    browser->StatusLine->setText(statusShown ? FStatusText : QString());
    if (!FCaption.isEmpty()) browser->setWindowTitle(FCaption);
    if (!FOKButtonCaption.isEmpty()) browser->setLabelText(QFileDialog::Accept, FOKButtonCaption);
}

void TSelectFolderDialog::FolderChanged(const QString& Path) {
    if (FBrowser == nullptr || Path.isEmpty()) return;
    FSelected = QDir::cleanPath(Path);
    if (OnFolderChange) OnFolderChange(this);
}

bool TSelectFolderDialog::DoCanClose() {
    bool canClose = true;
    if (OnCanClose) OnCanClose(this, canClose);
    return canClose;
}

}  // namespace tam32
