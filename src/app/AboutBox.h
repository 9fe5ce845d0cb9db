#pragma once
// The version box of the Help menu; the frame titles it with the menu
// item's caption.
#include <QDialog>

class QLabel;
class QPushButton;

namespace tam32 {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* Parent = nullptr);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QPushButton* OKButton;
};

}  // namespace tam32
