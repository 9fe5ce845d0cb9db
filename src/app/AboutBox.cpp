#include "app/AboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tam32 {

TAboutBox::TAboutBox(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("AboutBox"));
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ProgramIcon = new QLabel(panel);
    ProgramIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    ProductName = new QLabel(QStringLiteral("TAM32 ver.0.3781"), panel);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(18);
    font.setBold(true);
    ProductName->setFont(font);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->addWidget(ProgramIcon);
    panelLayout->addWidget(ProductName);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
}

}  // namespace tam32
