// The options dialog's form: its pages and controls under their names, with
// their ranges and hints, the handlers bound to what a user does, and the
// captions from the message files.
#include "windows/TamOptionDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "analysis/core/Messages.h"
#include "analysis/core/SettingsFile.h"
#include "windows/NamedWidgets.h"
#include "windows/RadioGroup.h"
#include "windows/SelectFolder.h"
#include "windows/WholeSpinBox.h"

namespace tam32 {
namespace {

// A typed decimal stays for OK to refuse.
QSpinBox* SpinEdit(QWidget* Parent, const char* Name, TOptionRange Range) {
    return NamedSpinEdit<TWholeSpinBox>(Parent, Name, Range.Min, Range.Max);
}

QCheckBox* CheckBox(QWidget* Parent, const char* Name, const QString& Caption = QString()) {
    auto* box = new QCheckBox(Caption, Parent);
    box->setObjectName(QLatin1String(Name));
    return box;
}

QGroupBox* GroupBox(QWidget* Parent, const char* Name, const QString& Caption = QString()) {
    auto* box = new QGroupBox(Caption, Parent);
    box->setObjectName(QLatin1String(Name));
    return box;
}

// A list of choices without a frame of its own, inside its group box.
TRadioGroup* RadioGroup(QWidget* Parent, const char* Name, const QStringList& Items) {
    auto* group = new TRadioGroup(QString(), Items, Parent);
    group->setObjectName(QLatin1String(Name));
    group->setFlat(true);
    return group;
}

QWidget* Page(QTabWidget* Pages, const char* Name) {
    auto* page = new QWidget(Pages);
    page->setObjectName(QLatin1String(Name));
    Pages->addTab(page, QString());
    return page;
}

// Widgets side by side.
QHBoxLayout* Row(std::initializer_list<QWidget*> Widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* widget : Widgets) row->addWidget(widget);
    row->addStretch();
    return row;
}

// A user's choice of an item runs Handler.
void OnItemClicked(TRadioGroup* Group, TTamOptionDialog* Dialog, void (TTamOptionDialog::*Handler)()) {
    for (QRadioButton* item : Group->findChildren<QRadioButton*>()) QObject::connect(item, &QRadioButton::clicked, Dialog, Handler);
}

// One item of a list for each value of Items; LocalizeCaptions gives their captions.
QStringList Uncaptioned(TOptionRange Items) { return QStringList(Items.Max - Items.Min + 1); }

}  // namespace

TTamOptionDialog::TTamOptionDialog(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("TamOptionDialog"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet5 = Page(PageControl1, "TabSheet5");
    TabSheet2 = Page(PageControl1, "TabSheet2");
    TabSheet1 = Page(PageControl1, "TabSheet1");
    TabSheet4 = Page(PageControl1, "TabSheet4");
    TabSheet3 = Page(PageControl1, "TabSheet3");
    CreateImagePage();
    CreateAreaPage();
    CreateLensPage();
    CreatePARPage();
    CreateClassificationPage();
    SelectFolderDialog = new TSelectFolderDialog(this);

    const auto button = [this](const char* Name, const char* Caption) {
        return NamedButton(this, Name, QLatin1String(Caption));
    };
    Button1 = button("Button1", "OK");
    Button1->setDefault(true);
    Button2 = button("Button2", "Cancel");
    Button5 = button("Button5", "Save");
    Button6 = button("Button6", "Load");
    connect(Button1, &QPushButton::clicked, this, &TTamOptionDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TTamOptionDialog::Button2Click);
    connect(Button5, &QPushButton::clicked, this, &TTamOptionDialog::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TTamOptionDialog::Button6Click);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button5, Button6}) buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton* b : {Button1, Button2}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    // In both modes: the group selection shows other pages too.
    LocalizeCaptions();
}

void TTamOptionDialog::CreateImagePage() {
    GroupBox2 = GroupBox(TabSheet5, "GroupBox2");
    Edit1 = NamedEdit(GroupBox2, "Edit1");
    DpiUnit = new QLabel(QStringLiteral("DPI"), GroupBox2);
    GroupBox2->setLayout(Row({Edit1, DpiUnit}));

    GroupBox16 = GroupBox(TabSheet5, "GroupBox16");
    ColorGroup1 = RadioGroup(GroupBox16, "ColorGroup1", Uncaptioned(kTargetItems));
    GroupBox16->setLayout(Row({ColorGroup1}));
    GroupBox17 = GroupBox(TabSheet5, "GroupBox17");
    TargetGroup1 = RadioGroup(GroupBox17, "TargetGroup1",
                              {QStringLiteral("Intermeans"), QStringLiteral("MinimumError"), QStringLiteral("Fixed"),
                               QStringLiteral("KL(Variance)"), QStringLiteral("KL(Minimum)"), QStringLiteral("KL(Entropy)"),
                               QStringLiteral("Compare")});
    GroupBox17->setLayout(Row({TargetGroup1}));
    GroupBox1 = GroupBox(TabSheet5, "GroupBox1");
    SpinEdit7 = SpinEdit(GroupBox1, "SpinEdit7", kThresholdRange);
    BitBtn1 = new QToolButton(GroupBox1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setText(QStringLiteral("..."));
    GroupBox1->setLayout(Row({SpinEdit7, BitBtn1}));
    GroupBox21 = GroupBox(TabSheet5, "GroupBox21");
    JhokenGroup1 = RadioGroup(GroupBox21, "JhokenGroup1", {QStringLiteral(">="), QStringLiteral("<="), QStringLiteral("=")});
    GroupBox21->setLayout(Row({JhokenGroup1}));

    GroupBox20 = GroupBox(TabSheet5, "GroupBox20");
    SpinEdit4 = SpinEdit(GroupBox20, "SpinEdit4", kDistortRange);
    CheckBox6 = CheckBox(GroupBox20, "CheckBox6");
    GroupBox20->setLayout(Row({SpinEdit4, CheckBox6}));
    GroupBox19 = GroupBox(TabSheet5, "GroupBox19");
    Label22 = new QLabel(GroupBox19);
    Label23 = new QLabel(GroupBox19);
    Label24 = new QLabel(GroupBox19);
    SpinEdit8 = SpinEdit(GroupBox19, "SpinEdit8", kToleranceRange);
    SpinEdit9 = SpinEdit(GroupBox19, "SpinEdit9", kToleranceRange);
    SpinEdit10 = SpinEdit(GroupBox19, "SpinEdit10", kToleranceRange);
    CheckBox7 = CheckBox(GroupBox19, "CheckBox7");
    GroupBox19->setLayout(Row({Label22, SpinEdit8, Label23, SpinEdit9, Label24, SpinEdit10, CheckBox7}));

    auto* grid = new QGridLayout(TabSheet5);
    grid->addWidget(GroupBox2, 0, 0);
    grid->addWidget(GroupBox1, 0, 1);
    grid->addWidget(GroupBox21, 0, 2);
    grid->addWidget(GroupBox16, 1, 0);
    grid->addWidget(GroupBox17, 1, 1);
    grid->addWidget(GroupBox20, 1, 2);
    grid->addWidget(GroupBox19, 2, 0, 1, 3);

    OnItemClicked(ColorGroup1, this, &TTamOptionDialog::ColorGroup1Change);
    OnItemClicked(TargetGroup1, this, &TTamOptionDialog::TargetGroup1Change);
    OnItemClicked(JhokenGroup1, this, &TTamOptionDialog::JhokenGroup1Change);
    // On a change and on a click into the field.
    connect(SpinEdit7, &QSpinBox::valueChanged, this, &TTamOptionDialog::SpinEdit7Click);
    SpinEdit7->findChild<QLineEdit*>()->installEventFilter(this);
    connect(BitBtn1, &QToolButton::clicked, this, &TTamOptionDialog::BitBtn1Click);
}

void TTamOptionDialog::CreateAreaPage() {
    GroupBox10 = GroupBox(TabSheet2, "GroupBox10");
    SpinEdit1 = SpinEdit(GroupBox10, "SpinEdit1", kLabelBufferRange);
    GroupBox10->setLayout(Row({SpinEdit1}));
    GroupBox3 = GroupBox(TabSheet2, "GroupBox3");
    Label21 = new QLabel(GroupBox3);
    SpinEdit5 = SpinEdit(GroupBox3, "SpinEdit5", kUnlimited);
    Label8 = new QLabel(GroupBox3);
    SpinEdit6 = SpinEdit(GroupBox3, "SpinEdit6", kUnlimited);
    GroupBox3->setLayout(Row({Label21, SpinEdit5, Label8, SpinEdit6}));
    CheckBox1 = CheckBox(TabSheet2, "CheckBox1");
    CheckBox5 = CheckBox(TabSheet2, "CheckBox5");
    CheckBox3 = CheckBox(TabSheet2, "CheckBox3");
    CheckBox4 = CheckBox(TabSheet2, "CheckBox4");
    VecFileName = NamedEdit(TabSheet2, "VecFileName");
    GotoSelectFolder = new QToolButton(TabSheet2);
    GotoSelectFolder->setObjectName(QStringLiteral("GotoSelectFolder"));
    GotoSelectFolder->setText(QStringLiteral(".."));

    auto* column = new QVBoxLayout(TabSheet2);
    column->addLayout(Row({GroupBox10, GroupBox3}));
    for (QCheckBox* box : {CheckBox1, CheckBox5, CheckBox3, CheckBox4}) column->addWidget(box);
    auto* folder = new QHBoxLayout;
    folder->addWidget(VecFileName, 1);
    folder->addWidget(GotoSelectFolder);
    column->addLayout(folder);
    column->addStretch();

    connect(CheckBox4, &QCheckBox::clicked, this, &TTamOptionDialog::CheckBox4Click);
    connect(GotoSelectFolder, &QToolButton::clicked, this, &TTamOptionDialog::GotoSelectFolderClick);
}

void TTamOptionDialog::CreateLensPage() {
    GroupBox6 = GroupBox(TabSheet1, "GroupBox6");
    ComboBox1 = new QComboBox(GroupBox6);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(Uncaptioned(kLensItems));
    GroupBox6->setLayout(Row({ComboBox1}));
    GroupBox13 = GroupBox(TabSheet1, "GroupBox13");
    Edit20 = NamedEdit(GroupBox13, "Edit20");
    ViewAngleUnit = new QLabel(GroupBox13);
    GroupBox13->setLayout(Row({Edit20, ViewAngleUnit}));
    GroupBox4 = GroupBox(TabSheet1, "GroupBox4");
    Edit3 = NamedEdit(GroupBox4, "Edit3");
    RadiusUnit = new QLabel(QStringLiteral("mm"), GroupBox4);
    GroupBox4->setLayout(Row({Edit3, RadiusUnit}));
    GroupBox14 = GroupBox(TabSheet1, "GroupBox14");
    Edit21 = NamedEdit(GroupBox14, "Edit21");
    Edit22 = NamedEdit(GroupBox14, "Edit22");
    Label20 = new QLabel(GroupBox14);
    CheckBox2 = CheckBox(GroupBox14, "CheckBox2");
    GroupBox14->setLayout(Row({Edit21, Label20, Edit22, CheckBox2}));
    // Slope correction is switched on only through a loaded settings file.
    GroupBox22 = GroupBox(TabSheet1, "GroupBox22");
    Edit5 = NamedEdit(GroupBox22, "Edit5");
    Edit6 = NamedEdit(GroupBox22, "Edit6");
    CheckBox8 = CheckBox(GroupBox22, "CheckBox8");
    GroupBox22->setLayout(Row({BuddyLabel(GroupBox22, QStringLiteral("β'="), Edit5), Edit5,
                               BuddyLabel(GroupBox22, QStringLiteral("φ'="), Edit6), Edit6, CheckBox8}));
    GroupBox22->hide();

    ComboBox2 = new QComboBox(TabSheet1);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->addItems({QStringLiteral("Red DN Ratio"), QStringLiteral("Green DN Ratio"), QStringLiteral("Blue DN Ratio"),
                         QStringLiteral("Binarization")});
    FisheyeCorectGroupBox = new TRadioGroup(QString(), Uncaptioned(kZenithThresholdItems), TabSheet1);
    FisheyeCorectGroupBox->setObjectName(QStringLiteral("FisheyeCorectGroupBox"));
    SpinEdit2 = SpinEdit(TabSheet1, "SpinEdit2", kNCZenithRange);
    SpinEdit3 = SpinEdit(TabSheet1, "SpinEdit3", kNCZenithRange);
    const char* const ringNames[] = {"vring0", "vring1", "vring2", "vring3", "vring4"};
    const char* const ringCaptions[] = {"Ring0(-14)", "Ring1(-29)", "Ring2(-44)", "Ring3(-59)", "Ring4(-74)"};
    auto* rings = new QHBoxLayout;
    for (int i = 0; i < 5; ++i) {
        vring[i] = CheckBox(TabSheet1, ringNames[i], QLatin1String(ringCaptions[i]));
        rings->addWidget(vring[i]);
    }

    auto* grid = new QGridLayout(TabSheet1);
    grid->addWidget(GroupBox6, 0, 0);
    grid->addWidget(GroupBox13, 0, 1);
    grid->addWidget(GroupBox4, 0, 2);
    grid->addWidget(GroupBox14, 1, 0, 1, 2);
    grid->addWidget(GroupBox22, 2, 0, 1, 3);
    grid->addWidget(ComboBox2, 3, 0);
    grid->addLayout(Row({SpinEdit2, new QLabel(QStringLiteral("≦Z≦"), TabSheet1), SpinEdit3}), 3, 1);
    grid->addWidget(FisheyeCorectGroupBox, 4, 0);
    grid->addLayout(rings, 4, 1, 1, 2);

    connect(ComboBox1, &QComboBox::activated, this, &TTamOptionDialog::ComboBox1Change);
    connect(ComboBox2, &QComboBox::activated, this, &TTamOptionDialog::ComboBox2Change);
    connect(SpinEdit2, &QSpinBox::valueChanged, this, &TTamOptionDialog::SpinEdit2Change);
}

void TTamOptionDialog::CreatePARPage() {
    const auto place = [](QGroupBox* Group, QSpinBox* (&Edits)[3], QLabel* (&Units)[3], const char* const (&Names)[3],
                          TOptionRange First) {
        auto* row = new QHBoxLayout(Group);
        for (int i = 0; i < 3; ++i) {
            Edits[i] = SpinEdit(Group, Names[i], i == 0 ? First : kMinuteRange);
            Units[i] = new QLabel(Group);
            row->addWidget(Edits[i]);
            row->addWidget(Units[i]);
        }
    };
    QSpinBox* latitude[3];
    QSpinBox* longitude[3];
    GroupBox8 = GroupBox(TabSheet4, "GroupBox8");
    place(GroupBox8, latitude, LatUnits, {"LatEdit1", "LatEdit2", "LatEdit3"}, kLatitudeRange);
    GroupBox9 = GroupBox(TabSheet4, "GroupBox9");
    place(GroupBox9, longitude, LongUnits, {"LongEdit1", "LongEdit2", "LongEdit3"}, kLongitudeRange);
    LatEdit1 = latitude[0];
    LatEdit2 = latitude[1];
    LatEdit3 = latitude[2];
    LongEdit1 = longitude[0];
    LongEdit2 = longitude[1];
    LongEdit3 = longitude[2];

    Edit14 = NamedEdit(TabSheet4, "Edit14");
    Edit15 = NamedEdit(TabSheet4, "Edit15");
    Edit16 = NamedEdit(TabSheet4, "Edit16");
    Edit2 = NamedEdit(TabSheet4, "Edit2");
    auto* sky = new QGridLayout;
    const std::pair<const char*, QLineEdit*> skyFields[] = {{"τ  =", Edit14}, {"ASL=", Edit15}, {"%PAR=", Edit16}, {"%Dif=", Edit2}};
    for (int i = 0; i < 4; ++i) {
        sky->addWidget(BuddyLabel(TabSheet4, QString::fromUtf8(skyFields[i].first), skyFields[i].second), i / 2, (i % 2) * 2);
        sky->addWidget(skyFields[i].second, i / 2, (i % 2) * 2 + 1);
    }
    auto* timeZone = GroupBox(TabSheet4, "GroupBox11", QStringLiteral("Time Zone"));
    Edit17 = NamedEdit(timeZone, "Edit17");
    timeZone->setLayout(Row({Edit17}));
    DifModelGroup = new TRadioGroup(QString(), {QStringLiteral("SOC"), QStringLiteral("UOC")}, TabSheet4);
    DifModelGroup->setObjectName(QStringLiteral("DifModelGroup"));
    YearEdit = SpinEdit(TabSheet4, "YearEdit", kUnlimited);
    MonthEdit = SpinEdit(TabSheet4, "MonthEdit", kMonthRange);
    DayEdit = SpinEdit(TabSheet4, "DayEdit", kDayRange);

    auto* column = new QVBoxLayout(TabSheet4);
    column->addLayout(Row({GroupBox8, GroupBox9}));
    column->addLayout(sky);
    column->addLayout(Row({timeZone, DifModelGroup}));
    column->addLayout(Row({YearEdit, new QLabel(QStringLiteral("/"), TabSheet4), MonthEdit,
                           new QLabel(QStringLiteral("/"), TabSheet4), DayEdit}));
    column->addStretch();
}

void TTamOptionDialog::CreateClassificationPage() {
    Label6 = new QLabel(TabSheet3);
    Label7 = new QLabel(TabSheet3);
    ListBox1 = new QListWidget(TabSheet3);
    ListBox2 = new QListWidget(TabSheet3);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    // Sorted as texts: "10" stands before "2".
    for (QListWidget* list : {ListBox1, ListBox2}) list->setSortingEnabled(true);
    Button3 = new QPushButton(QStringLiteral(">>"), TabSheet3);
    Button4 = new QPushButton(QStringLiteral("<<"), TabSheet3);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button4->setObjectName(QStringLiteral("Button4"));
    for (QPushButton* b : {Button3, Button4}) b->setAutoDefault(false);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(Button3);
    moves->addWidget(Button4);
    moves->addStretch();
    auto* grid = new QGridLayout(TabSheet3);
    grid->addWidget(Label6, 0, 0);
    grid->addWidget(Label7, 0, 2);
    grid->addWidget(ListBox1, 1, 0);
    grid->addLayout(moves, 1, 1);
    grid->addWidget(ListBox2, 1, 2);
    connect(Button3, &QPushButton::clicked, this, &TTamOptionDialog::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TTamOptionDialog::Button4Click);
}

void TTamOptionDialog::LocalizeCaptions() {
    const auto caption = [](int Key) { return GetFormCaption(QStringLiteral("OPTION"), Key); };
    setWindowTitle(caption(52));
    SpinEdit4->setToolTip(caption(53));
    SpinEdit6->setToolTip(caption(54));
    Edit20->setToolTip(caption(55));
    for (QLineEdit* edit : {Edit21, Edit22}) edit->setToolTip(caption(56));
    GroupBox22->setTitle(caption(57));
    CheckBox8->setText(caption(58));
    QStringList models;
    for (int item = kZenithThresholdItems.Min; item <= kZenithThresholdItems.Max; ++item) models << caption(59 + item);
    FisheyeCorectGroupBox->SetItems(models);
    int key = 0;
    for (QWidget* page : {TabSheet5, TabSheet2, TabSheet1, TabSheet4, TabSheet3})
        PageControl1->setTabText(PageControl1->indexOf(page), caption(key++));
    for (QGroupBox* group : {GroupBox2, GroupBox16, GroupBox17, GroupBox1, GroupBox21, GroupBox20, GroupBox19})
        group->setTitle(caption(key++));
    CheckBox6->setText(caption(key++));
    CheckBox7->setText(caption(key++));
    for (QLabel* label : {Label22, Label23, Label24}) label->setText(caption(key++));
    QStringList targets;
    while (key <= 22) targets << caption(key++);
    ColorGroup1->SetItems(targets);
    GroupBox10->setTitle(caption(key++));
    GroupBox3->setTitle(caption(key++));
    Label21->setText(caption(key++));
    Label8->setText(caption(key++));
    for (QCheckBox* box : {CheckBox1, CheckBox5, CheckBox3, CheckBox4}) box->setText(caption(key++));
    for (QGroupBox* group : {GroupBox6, GroupBox13, GroupBox4, GroupBox14}) group->setTitle(caption(key++));
    CheckBox2->setText(caption(key++));
    Label20->setText(caption(key++));
    GroupBox8->setTitle(caption(key++));
    GroupBox9->setTitle(caption(key++));
    // The degree label of the maximum view angle too.
    ViewAngleUnit->setText(caption(key));
    for (int i = 0; i < 3; ++i) {
        LatUnits[i]->setText(caption(key));
        LongUnits[i]->setText(caption(key++));
    }
    for (int item = 0; item < ComboBox1->count(); ++item) ComboBox1->setItemText(item, caption(key++));
    // The date has no label of its own: a refusal names it so.
    for (QSpinBox* edit : {YearEdit, MonthEdit, DayEdit}) edit->setAccessibleName(GetDialogMessage(QStringLiteral("DMS90")));
}

bool TTamOptionDialog::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::MouseButtonPress && Watched == SpinEdit7->findChild<QLineEdit*>()) SpinEdit7Click();
    return QDialog::eventFilter(Watched, Event);
}

}  // namespace tam32
