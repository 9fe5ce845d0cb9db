#include "windows/HistgramWindow.h"

#include <QHeaderView>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "windows/ImageView.h"
#include "windows/NamedWidgets.h"
#include "windows/RadioGroup.h"

namespace tam32 {
namespace {

constexpr int kPictureWidth = 256;
constexpr int kPictureHeight = 180;


}  // namespace

THistgramWindow::THistgramWindow(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("HistgramWindow"));
    FPicture.SetPixelFormat(TPixelFormat::pf24bit);
    FPicture.SetSize(kPictureWidth, kPictureHeight);
    FPicture.Canvas().Brush.Color = clWhite;
    FPicture.Canvas().FillRect({0, 0, kPictureWidth, kPictureHeight});

    Image1 = new TImageView(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->SetPicture(&FPicture);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAutoFillBackground(true);
    QPalette white = Label1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Label1->setPalette(white);
    // Titled when shown: the threshold pick hides it.
    RadioGroup1 =
        new TRadioGroup(QString(), {QStringLiteral("Red"), QStringLiteral("Blue"), QStringLiteral("Green")}, this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    // Three choices and a title within the 60 pixels above the table.
    QFont small = font();
    small.setPixelSize(10);
    RadioGroup1->setFont(small);
    RadioGroup1->layout()->setContentsMargins(2, 0, 2, 0);
    RadioGroup1->layout()->setSpacing(0);
    for (QRadioButton* item : RadioGroup1->findChildren<QRadioButton*>())
        connect(item, &QRadioButton::clicked, this, &THistgramWindow::RadioGroup1Click);
    StringGrid1 = new QTableWidget(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setColumnCount(3);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setMinimumSectionSize(0);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(30);
    StringGrid1->verticalHeader()->setMinimumSectionSize(0);
    StringGrid1->verticalHeader()->setDefaultSectionSize(12);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows 12 pixels high, and counts shown whole even in a narrow column.
    StringGrid1->setFont(small);
    StringGrid1->setTextElideMode(Qt::ElideNone);
    StringGrid1->setWordWrap(false);
    Button1 = NamedButton(this, "Button1", QStringLiteral("OK"));
    Button2 = NamedButton(this, "Button2", GetDialogMessage(QStringLiteral("DMS98")));
    Button3 = NamedButton(this, "Button3", QStringLiteral("Copy"));
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(0, 255);
    // Every text typed, also one out of range that the field does not take.
    connect(SpinEdit1->findChild<QLineEdit*>(), &QLineEdit::textChanged, this, &THistgramWindow::SpinEdit1Change);
    connect(Button1, &QPushButton::clicked, this, &THistgramWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &THistgramWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &THistgramWindow::Button3Click);
    FormCreate();
}

void THistgramWindow::FormCreate() {
    Analysed = false;
    Label1->move(112, 3);
    Image1->setGeometry(112, 22, kPictureWidth, kPictureHeight);
    RadioGroup1->setGeometry(0, 0, 64, 60);
    StringGrid1->move(0, 60);
    Label1->resize(kPictureWidth, 17);
    Button1->setGeometry(264, 8, 57, 25);
    Button3->setGeometry(66, 7, 41, 25);
    FitTo(Image1);
}

void THistgramWindow::FitTo(const QWidget* RightMost) {
    const int bottom = Image1->y() + Image1->height();
    setFixedSize(RightMost->x() + RightMost->width() + 10, bottom + 30);
    StringGrid1->resize(110, height() - StringGrid1->y());
}

void THistgramWindow::ShowHistogram(const QString& FileName, bool Analysed) {
    this->FileName = FileName;
    setToolTip(GetDialogMessage(QStringLiteral("DMS99")));
    for (QWidget* shown : std::initializer_list<QWidget*>{Image1, Button3, RadioGroup1, Label1, StringGrid1}) shown->show();
    Button1->hide();
    SpinEdit1->hide();
    Button3->move(66, 7);
    RadioGroup1->move(0, 0);
    Label1->move(112, 3);
    StringGrid1->move(0, 60);
    Button2->setText(QStringLiteral("Close"));
    Button2->setGeometry(66, 32, 41, 25);
    Image1->setGeometry(112, 22, kPictureWidth, kPictureHeight);
    FitTo(Image1);

    this->Analysed = Analysed;
    PickMode = false;
    RadioGroup1->SetItems({QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue")});
    RadioGroup1->setTitle(GetDialogMessage(QStringLiteral("DMS97")));
    // The channel of a single-channel target; blue for the others.
    const int colour = BinarizeTarget >= 0 && BinarizeTarget < 3 ? BinarizeTarget : 2;
    RadioGroup1->SetItemIndex(colour);
    DrawHistogram(colour);
    FillStatistics(colour);
}

void THistgramWindow::SetupThresholdPick(const QString& FileName, int Colour, int Condition) {
    this->FileName = FileName;
    setToolTip(GetDialogMessage(QStringLiteral("DMS100")));
    Image1->setGeometry(0, 0, kPictureWidth, kPictureHeight);
    Image1->show();
    Button1->setGeometry(264, 8, 57, 25);
    Button1->show();
    Button2->setText(GetDialogMessage(QStringLiteral("DMS98")));
    Button2->setGeometry(264, 40, 57, 25);
    Button2->show();
    SpinEdit1->setGeometry(264, Image1->height() - 25, 57, 25);
    SpinEdit1->show();
    for (QWidget* hidden : std::initializer_list<QWidget*>{Button3, RadioGroup1, Label1, StringGrid1}) hidden->hide();
    FitTo(Button1);

    Analysed = false;
    PickMode = true;
    PickColour = Colour;
    PickCondition = Condition;
    {
        const QSignalBlocker blocker(SpinEdit1->findChild<QLineEdit*>());
        SpinEdit1->setValue(FixedThreshold);
    }
    DrawHistogram(Colour);
}

void THistgramWindow::RadioGroup1Click() {
    const int colour = RadioGroup1->ItemIndex();
    if (colour < 0 || colour > 2) return;
    DrawHistogram(colour);
    FillStatistics(colour);
}

void THistgramWindow::SpinEdit1Change() {
    bool ok = false;
    const int value = SpinEdit1->findChild<QLineEdit*>()->text().trimmed().toInt(&ok);
    if (ok && value >= 0 && value <= 255) DrawHistogram(PickColour);
}

void THistgramWindow::Button1Click() {
    FixedThreshold = SpinEdit1->value();
    accept();
}

void THistgramWindow::Button2Click() { reject(); }

bool THistgramWindow::ArraysAreMine() const { return AnalysisFileName == FileName; }

}  // namespace tam32
