#include "app/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWindow>

#include "analysis/core/EngineHost.h"
#include "analysis/core/Messages.h"
#include "app/AboutBox.h"
#include "app/InformationWindow.h"
#include "app/MenuTree.h"
#include "app/StartUp.h"
#include "app/TamApplication.h"
#include "app/ToolBarButtons.h"
#include "image/PxDIB.h"
#include "platform/Bitmap.h"
#include "import/AcquireImage.h"
#include "import/SPIBitmap.h"
#include "import/SPIs.h"
#include "import/ShownPicture.h"
#include "platform/Clipboard.h"
#include "platform/Exceptions.h"
#include "windows/CaptionAsShown.h"
#include "windows/ImageView.h"
#include "windows/LeafImageWindow.h"
#include "windows/PictureFile.h"

namespace tam32 {
namespace {

constexpr int kPARItemCount = 7;
constexpr int kEdgeViewWidth = 192;
constexpr int kEdgeViewHeight = 48;

// Items whose check mark the image windows and tools set; a checkable action
// toggles itself when triggered, so their handlers set the mark themselves.
constexpr const char* kCheckedItems[] = {
    "SetTagArea1",       "LineProfile1",         "DistanceMeasurement1", "DistanceMeasurement2",
    "AngleMeasurement1", "AngleMeasurement2",    "SetNorthDirection1",   "CircleAreaCenter1",
    "CircleAreaBy3Points", "MouseDetectCircleArea1", "CalcScaleByLine1", "CalcScaleByArea1",
    "DoSearchColors1"};

// A menu item's caption as the title of the box that it opens: without its
// accelerator, which a Japanese caption names in brackets at its end
// ("ﾊﾞｰｼﾞｮﾝ情報(&A)").
QString CaptionWithoutAccelerator(const QString& Caption) {
    static const QRegularExpression kBracketed(QStringLiteral("\\(&[^&]\\)$"));
    return CaptionAsShown(QString(Caption).remove(kBracketed));
}

QString SameFileKey(const QString& Name) {
    const QFileInfo info(Name);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

TMainForm::TMainForm(QWidget* Parent) : QMainWindow(Parent) {
    InitializeUnits();
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("TAM32"));
    setWindowIcon(ProgramIcon());
    setFont(ApplicationFont());
    auto* client = new QWidget(this);
    auto* layout = new QHBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    MdiArea = new QMdiArea(client);
    MdiArea->setBackground(palette().dark());
    layout->addWidget(MdiArea, 1);
    // The edge view that the circle tools show while a circle is dragged,
    // at the right of the image windows.
    Panel1 = new QWidget(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedSize(kEdgeViewWidth, kEdgeViewHeight);
    Image1 = new TImageView(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->resize(kEdgeViewWidth, kEdgeViewHeight);
    FEdgeView = std::make_unique<TBitmap>();
    FEdgeView->SetPixelFormat(TPixelFormat::pf24bit);
    FEdgeView->SetSize(kEdgeViewWidth, kEdgeViewHeight);
    Image1->SetPicture(FEdgeView.get());
    layout->addWidget(Panel1, 0, Qt::AlignTop);
    Panel1->hide();
    Panel1->setEnabled(false);
    setCentralWidget(client);
    CreateStatusBar();
    CreateToolBar();
    CreateMenu();
    OpenDialog = new QFileDialog(this);
    OpenDialog->setObjectName(QStringLiteral("OpenDialog"));
    SaveDialog = new QFileDialog(this);
    SaveDialog->setObjectName(QStringLiteral("SaveDialog"));
    TxtOpenDialog = new QFileDialog(this);
    TxtOpenDialog->setObjectName(QStringLiteral("TxtOpenDialog"));
    for (QFileDialog* dialog : {OpenDialog, SaveDialog, TxtOpenDialog})
        dialog->setOption(QFileDialog::DontUseNativeDialog);
    LoadPlugins();
    AcquireImage1 = std::make_unique<TAcquireImage>();
    AcquireImage1->SetAppInfo(QStringLiteral("Twain Freeware Component"));
    AcquireImage1->SetAppManufacturer(QStringLiteral("none"));
    AcquireImage1->SetAppProductFamily(QStringLiteral("none"));
    AcquireImage1->SetAppProductName(QStringLiteral("none"));
    AcquireImage1->SetAppVersionMajorNum(0);
    AcquireImage1->SetAppVersionMinorNum(0);
    AcquireImage1->SetLanguage(0);
    AcquireImage1->SetCountry(0);
    BindHandlers();
    ImageCounter = 0;
    PARItems->setCurrentIndex(0);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TMainForm::RelabelSafely);
    connect(MdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* Sub) {
        if (Sub != nullptr)
            if (auto* window = qobject_cast<TLeafImageWindow*>(Sub->widget())) window->SearchSettings();
        RelabelSafely();
    });
}

TMainForm::~TMainForm() {
    disconnect(qApp, nullptr, this, nullptr);
    // The windows go with the frame without relabelling a menu that is going too.
    for (QMdiSubWindow* sub : MdiArea->findChildren<QMdiSubWindow*>()) disconnect(sub, nullptr, this, nullptr);
    disconnect(MdiArea, nullptr, this, nullptr);
}

void TMainForm::showEvent(QShowEvent* Event) {
    QMainWindow::showEvent(Event);
    RelabelSafely();
}

void TMainForm::CreateStatusBar() {
    const QString texts[] = {QStringLiteral("FIle Name"), QStringLiteral("Position"), QStringLiteral("Information")};
    for (const QString& text : texts) {
        auto* panel = new QLabel(text, this);
        panel->setMinimumWidth(100);
        FStatusPanels.push_back(panel);
    }
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(FStatusPanels[0]);
    statusBar()->addWidget(FStatusPanels[1]);
    statusBar()->addWidget(FStatusPanels[2], 1);
}

void TMainForm::CreateToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(24, 24));
    PARItems = new QComboBox(ToolBar1);
    PARItems->setObjectName(QStringLiteral("PARItems"));
    for (int i = 0; i < kPARItemCount; ++i) PARItems->addItem(QString());
    // Buttons have actions of their own: a menu item may be disabled while
    // its button stays usable.
    for (const TToolButtonDef& def : ToolBarButtons()) {
        QAction* button = ToolBar1->addAction(ToolButtonIcon(def), QString());
        button->setObjectName(QLatin1String(def.Name));
        button->setToolTip(QString::fromUtf8(def.Hint));
        FToolButtons.insert(QLatin1String(def.Name), button);
        if (qstrcmp(def.Name, PARItemsAfter) == 0) ToolBar1->addWidget(PARItems);
    }
}

QAction* TMainForm::ToolButton(const char* Name) const { return FToolButtons.value(QLatin1String(Name)); }

void TMainForm::CreateMenu() {
    const auto tree = MenuTree();
    std::vector<QMenu*> parents;  // the open submenu of each depth
    for (size_t i = 0; i < tree.size(); ++i) {
        const TMenuItemDef& def = tree[i];
        const bool hasChildren = i + 1 < tree.size() && tree[i + 1].Depth > def.Depth;
        parents.resize(static_cast<size_t>(def.Depth - 1));
        QAction* item;
        if (hasChildren) {
            QMenu* menu = def.Depth == 1 ? menuBar()->addMenu(QString()) : parents.back()->addMenu(QString());
            menu->setObjectName(QLatin1String(def.Name));
            parents.push_back(menu);
            item = menu->menuAction();
        } else {
            item = parents.back()->addAction(QString());
        }
        item->setObjectName(QLatin1String(def.Name));
        const QString caption = QString::fromUtf8(def.Caption);
        if (caption == QLatin1String("-"))
            item->setSeparator(true);
        else
            item->setText(caption);
        FMenuItems.push_back(item);
        FItemsByName.insert(QLatin1String(def.Name), item);
    }
    for (const char* name : kCheckedItems) MenuItem(name)->setCheckable(true);
    MenuItem("DoTopoAnalysis1")->setVisible(false);
    MenuItem("DoLAIEstimateAll")->setEnabled(false);
    QMenu* windowMenu = MenuItem("mmWindow")->menu();
    connect(windowMenu, &QMenu::aboutToShow, this, &TMainForm::ListWindows);
}

void TMainForm::BindHandlers() {
    // A tool button runs the command of its menu item (ToolBarButtons), but
    // for the PAR button, which runs the period that the list shows.
    struct TBinding {
        const char* Item;
        void (TMainForm::*Handler)();
    };
    const TBinding bindings[] = {
        {"FileOpenItem", &TMainForm::FileOpenItemClick},
        {"AnalyzedImageSave", &TMainForm::AnalyzedImageSaveClick},
        {"FileCloseItem", &TMainForm::FileCloseItemClick},
        {"FileExitItem", &TMainForm::FileExitItemClick},
        {"CopyEditedImage", &TMainForm::CopyEditedImageClick},
        {"ImagePaste1", &TMainForm::ImagePaste1Click},
        {"TWAINImageInput", &TMainForm::TWAINImageInputClick},
        {"WindowCascadeItem", &TMainForm::WindowCascadeItemClick},
        {"WindowTileItem", &TMainForm::WindowTileItemClick},
        {"WindowArrangeItem", &TMainForm::WindowArrangeItemClick},
        {"WindowMinimizeItem", &TMainForm::WindowMinimizeItemClick},
        {"HelpAboutItem", &TMainForm::HelpAboutItemClick},
        {"CopyDiscParToClip1", &TMainForm::CopyDiscParToClip1Click},
        {"CopyGapsToClip1", &TMainForm::CopyGapsToClip1Click},
        {"DoLAIEstimateAll", &TMainForm::DoLAIEstimateAllClick},
        {"DoLAIEstimateUseSettingFile", &TMainForm::DoLAIEstimateUseSettingFileClick},
        {"DoGapEstimate2D", &TMainForm::DoGapEstimate2DClick},
        {"SaveDisc3Pars1", &TMainForm::SaveDisc3Pars1Click},
        {"ReLoadDisc3Pars1", &TMainForm::ReLoadDisc3Pars1Click},
        {"MakeCLDFile0", &TMainForm::MakeCLDFile0Click},
        {"MakeCLDFile1", &TMainForm::MakeCLDFile1Click},
        {"ViewCLDImage0", &TMainForm::ViewCLDImage0Click},
        {"ViewCLDImage1", &TMainForm::ViewCLDImage1Click},
        {"ViewCorrectedHemiImage", &TMainForm::ViewCorrectedHemiImageClick},
        {"SelectFilter", &TMainForm::SelectFilterClick},
        {"DoFiltering", &TMainForm::DoFilteringClick},
        {"AfineTrans", &TMainForm::AfineTransClick},
    };
    Bind(nullptr, "SpeedButton16", [this] { SpeedButton16Click(); });
    for (const TBinding& binding : bindings)
        Bind(binding.Item, ToolButtonOf(binding.Item), [this, handler = binding.Handler] { (this->*handler)(); });

    // Commands of the active image window; nothing without one.
    struct TWindowBinding {
        const char* Item;
        void (TLeafImageWindow::*Command)();
    };
    const TWindowBinding windowBindings[] = {
        {"ImageViewEnhance1", &TLeafImageWindow::EnhanceView},
        {"ImageViewReduce1", &TLeafImageWindow::ReduceView},
        {"ImageViewOriginal1", &TLeafImageWindow::ViewOriginalImage},
        {"DoChangeLightLevel", &TLeafImageWindow::ChangeLightLevel},
        {"AutoDetectCircleArea1", &TLeafImageWindow::AutoDetectCircleArea},
        {"CircleAreaRadiusPixel1", &TLeafImageWindow::SetCircleAreaDiameter},
        {"CircleAreaScale1", &TLeafImageWindow::DrawCircleAreaScale},
        {"SetTagArea1", &TLeafImageWindow::SetTagArea},
        {"MouseDetectCircleArea1", &TLeafImageWindow::StartMouseDetectCircleArea},
        {"CircleAreaBy3Points", &TLeafImageWindow::StartCircleAreaBy3Points},
        {"CircleAreaCenter1", &TLeafImageWindow::StartMoveCircleArea},
        {"SetNorthDirection1", &TLeafImageWindow::StartSetNorthDirection},
        {"DistanceMeasurement1", &TLeafImageWindow::StartDistanceMeasurement},
        {"DistanceMeasurement2", &TLeafImageWindow::StartPolylineMeasurement},
        {"AngleMeasurement1", &TLeafImageWindow::StartAngleMeasurement},
        {"AngleMeasurement2", &TLeafImageWindow::StartZenithAngleMeasurement},
        {"CalcScaleByLine1", &TLeafImageWindow::StartCalcScaleByLine},
        {"StartGetPoints1", &TLeafImageWindow::StartGetPoints},
        {"ViewClassifiedImage1", &TLeafImageWindow::ViewClassifiedImage},
        {"CalcScaleByArea1", &TLeafImageWindow::StartCalcScaleByArea},
        {"LineProfile1", &TLeafImageWindow::StartLineProfile},
        {"DoSearchColors1", &TLeafImageWindow::StartSearchColors},
        {"ViewHistgram1", &TLeafImageWindow::ViewHistgram},
        {"DoSepColorAnalysis1", &TLeafImageWindow::DoSepColorAnalysis},
        {"DoTopoAnalysis1", &TLeafImageWindow::DoTopoAnalysis},
        {"DoLabellAnalysis1", &TLeafImageWindow::DoLabellAnalysis},
        {"BAMeasurement", &TLeafImageWindow::DoBAMeasurement},
        {"DoLAIEstimate1", &TLeafImageWindow::DoLAIEstimate},
        {"DoPARSetTimes1", &TLeafImageWindow::DoPARSetTimes},
        {"DoPARPeriod1", &TLeafImageWindow::DoPARPeriod},
        {"DoPARThisDay1", &TLeafImageWindow::DoPARThisDay},
        {"DoPARMonth1", &TLeafImageWindow::DoPARMonth},
        {"DoPARMonthMean1", &TLeafImageWindow::DoPARMonthMean},
        {"DoPARMonthYear1", &TLeafImageWindow::DoPARMonthYear},
        {"DoPARMonthYearMean1", &TLeafImageWindow::DoPARMonthYearMean},
        {"DrawDaySunTruck1", &TLeafImageWindow::DrawDaySunTrack},
        {"DrawMonthSunTruck1", &TLeafImageWindow::DrawMonthSunTrack},
        {"DrawYearSunTruck1", &TLeafImageWindow::DrawYearSunTrack},
        {"GetGCP", &TLeafImageWindow::StartGetGCP},
    };
    for (const TWindowBinding& binding : windowBindings) {
        QAction* item = MenuItem(binding.Item);
        Bind(binding.Item, ToolButtonOf(binding.Item), [this, item, command = binding.Command] {
            if (FActiveImageWindow != nullptr)
                (FActiveImageWindow->*command)();
            else if (item->isCheckable())
                item->setChecked(false);  // triggering toggled it; no window took the tool
        });
    }
    Bind("ProcOptionSetting1", ToolButtonOf("ProcOptionSetting1"), [this] {
        if (FActiveImageWindow != nullptr) FActiveImageWindow->ShowProcOptions();
    });
}

void TMainForm::Bind(const char* Item, const char* Button, const std::function<void()>& Handler) {
    // A failed command shows its error and the program carries on; no
    // exception unwinds through the menu's event handling.
    const auto guarded = [Handler] {
        try {
            Handler();
        } catch (const std::exception& e) {
            ShowException(e);
        }
    };
    if (Item != nullptr) connect(MenuItem(Item), &QAction::triggered, this, guarded);
    if (Button != nullptr) connect(ToolButton(Button), &QAction::triggered, this, guarded);
}

void TMainForm::LoadPlugins() {
    SPIs1 = std::make_unique<TSPIs>();
    // Not the current folder: a plug-in there would run code as the user.
    SPIs1->SearchOptions = {TSPISearchOption::spsSusieDir, TSPISearchOption::spsAppDir};
    SPIs1->OnSearch = KeepInputPlugins;
    SPIs1->OnPictureRegister = [](TObject*, TInSPI*, const QString&, const QString&, TGraphicClass& Class) {
        Class = &TSPIBitmap::ClassInfo;
    };
    SPIs1->Loaded();
}

QAction* TMainForm::MenuItem(const char* Name) const { return FItemsByName.value(QLatin1String(Name)); }

void TMainForm::SetSizeText(const QString& Text) { FStatusPanels[0]->setText(Text); }

void TMainForm::SetPositionText(const QString& Text) { FStatusPanels[1]->setText(Text); }

void TMainForm::ShowEdgeView() {
    Panel1->setEnabled(true);
    Panel1->show();
    Image1->update();
}

void TMainForm::HideEdgeView() {
    Panel1->setEnabled(false);
    Panel1->hide();
}

int TMainForm::ImageWindowCount() const { return int(ImageWindows().size()); }

QList<TLeafImageWindow*> TMainForm::ImageWindows() const {
    QList<TLeafImageWindow*> windows;
    for (QMdiSubWindow* sub : MdiArea->subWindowList(QMdiArea::CreationOrder))
        if (sub != FGoingSubWindow)
            if (auto* window = qobject_cast<TLeafImageWindow*>(sub->widget())) windows << window;
    return windows;
}

void TMainForm::UpdateMenuItems() {
    if (FRelabelling) return;
    FRelabelling = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } reset{FRelabelling};

    const bool anyWindow = ImageWindowCount() > 0;
    for (const char* name :
         {"FileCloseItem", "WindowCascadeItem", "WindowTileItem", "WindowArrangeItem", "WindowMinimizeItem"})
        MenuItem(name)->setEnabled(anyWindow);

    const int charset = GetMenuCharset();
    if (charset < 0 || charset > 255) throw ERangeError(kRangeCheckError);
    FCharset = charset;

    const auto tree = MenuTree();
    int number = 0;
    for (size_t i = 0; i < tree.size(); ++i) {
        QAction* item = FMenuItems[i];
        QString caption;
        if (tree[i].Depth <= 4) {
            caption = GetMenuCaption(number++);
        } else if (charset == 0) {
            const bool first = tree[i - 1].Depth < 5;
            caption = first ? QStringLiteral("Make") : QStringLiteral("View");
        } else {
            // The captions of the form description, also after a Western relabel.
            caption = QString::fromUtf8(tree[i].Caption);
        }
        const bool separator = caption == QLatin1String("-");
        item->setSeparator(separator);
        if (!separator) item->setText(caption);
    }
    for (int i = 0; i < kPARItemCount; ++i) PARItems->setItemText(i, GetFormCaption(QStringLiteral("PARITEM"), i));
    RelabelToolButtonHints(*this, charset);
}

void TMainForm::RelabelSafely() {
    try {
        UpdateMenuItems();
        FLastRelabelError.clear();
    } catch (const std::exception& e) {
        // Closing the error box activates the frame again, which relabels
        // again: the same fault is shown once.
        const QString text = ExceptionText(e);
        if (text == FLastRelabelError) return;
        FLastRelabelError = text;
        ShowException(e);
    }
}

void TMainForm::ListWindows() {
    QMenu* windowMenu = MenuItem("mmWindow")->menu();
    qDeleteAll(FWindowListItems);
    FWindowListItems.clear();
    const QList<QMdiSubWindow*> subs = MdiArea->subWindowList(QMdiArea::CreationOrder);
    if (subs.isEmpty()) return;
    FWindowListItems << windowMenu->addSeparator();
    for (int i = 0; i < subs.size(); ++i) {
        QMdiSubWindow* sub = subs[i];
        QAction* item = windowMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(sub->windowTitle()));
        item->setCheckable(true);
        item->setChecked(sub == MdiArea->currentSubWindow());
        connect(item, &QAction::triggered, this, [this, sub] { MdiArea->setActiveSubWindow(sub); });
        FWindowListItems << item;
    }
}

TLeafImageWindow* TMainForm::CreateMDIChild(const QString& Name, bool Temporary) {
    // Read first: a file that cannot be read leaves no empty window behind.
    std::unique_ptr<TBitmap> picture = LoadPictureAsBitmap(Name);
    auto* window = new TLeafImageWindow(*this);
    window->setFont(font());
    window->OpenPicture(Name, Temporary, std::move(picture));
    QMdiSubWindow* sub = MdiArea->addSubWindow(window);
    connect(sub, &QObject::destroyed, this, [this, sub] {
        FGoingSubWindow = sub;
        RelabelSafely();
        FGoingSubWindow = nullptr;
    });
    sub->show();
    MdiArea->setActiveSubWindow(sub);
    SetSizeText(window->SizeText());
    FActiveImageWindow = window;
    RelabelSafely();
    return window;
}

void TMainForm::OpenFiles(const QStringList& Names) {
    for (const QString& name : Names) CreateMDIChild(name, false);
}

void TMainForm::FileOpenItemClick() {
    OpenDialog->setFileMode(QFileDialog::ExistingFiles);
    OpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog->setNameFilter(PictureOpenFilter());
    if (OpenDialog->exec() == QDialog::Accepted) OpenFiles(OpenDialog->selectedFiles());
}

QString TMainForm::TemporaryFolder() {
    if (FTemporaryFolder == nullptr) {
        FTemporaryFolder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tam32-XXXXXX"));
        if (!FTemporaryFolder->isValid())
            throw EFCreateError(QStringLiteral("Cannot create folder %1").arg(FTemporaryFolder->path()));
    }
    return FTemporaryFolder->path();
}

bool TMainForm::PasteImageFromClipboard() {
    if (!Clipboard().HasFormat(CF_DIB)) return true;
    const QString name = TemporaryFolder() + QStringLiteral("/TempImage%1.bmp").arg(ImageCounter);
    {
        TPxDIB dib;
        Clipboard().Open();
        try {
            dib.LoadFromClipboardFormat(CF_DIB, Clipboard().GetAsHandle(CF_DIB), nullptr);
        } catch (...) {
            Clipboard().Close();
            throw;
        }
        Clipboard().Close();
        dib.SetPixelFormat(pxPf24Bit);
        dib.SaveToFile(name);
    }
    CreateMDIChild(name, true);
    ++ImageCounter;
    return false;
}

void TMainForm::ImagePaste1Click() {
    if (PasteImageFromClipboard()) ShowErrorMessage(QStringLiteral("ERR2"));
}

bool TMainForm::AcquireTwainImage(QString& FileName) {
    FileName = TemporaryFolder() + QStringLiteral("/Image%1.bmp").arg(ImageCounter);
    if (!AcquireImage1->LoadSourceManager()) {
        ShowErrorMessage(QStringLiteral("ERR1"));
        return false;
    }
    std::unique_ptr<TBitmap> bitmap;
    TW_UINT16 result = TWRC_CANCEL;
    try {
        AcquireImage1->OpenSourceManager();
        QString source;
        // The manager has a default source whenever it has any.
        AcquireImage1->SelectSource(true, source);
        if (source.isEmpty()) {
            ShowStatusMessage(QStringLiteral("DIALOG_CODE_"), QStringLiteral("DMS109"));
        } else {
            AcquireImage1->SelectSource(false, source);
            // An empty name would ask for the source a second time and scan
            // from whatever the user picks then: a cancelled choice scans nothing.
            if (!source.isEmpty() && AcquireImage1->SelectSourceByName(source) == TWRC_SUCCESS &&
                AcquireImage1->OpenSource() == TWRC_SUCCESS)
                result = AcquireImage1->AcquireBitmap(bitmap);
        }
    } catch (...) {
        AcquireImage1->CloseSource();
        AcquireImage1->UnloadSourceManager();
        throw;
    }
    AcquireImage1->CloseSource();
    AcquireImage1->UnloadSourceManager();
    if (result != TWRC_SUCCESS || bitmap == nullptr) return false;
    bitmap->SaveToFile(FileName);
    ++ImageCounter;
    return true;
}

void TMainForm::TWAINImageInputClick() {
    QString name;
    if (AcquireTwainImage(name)) CreateMDIChild(name, true);
}

bool TMainForm::IsShownByWindow(const QString& Name) const {
    const QString key = SameFileKey(Name);
    for (TLeafImageWindow* window : ImageWindows())
        if (SameFileKey(window->FFileName) == key || SameFileKey(window->FWorkFileName) == key) return true;
    return false;
}

bool TMainForm::MayWriteFile(const QString& Name) {
    if (IsShownByWindow(Name)) {
        EngineHost().ShowMessage(FormatDialogMessage(QStringLiteral("DMS86"), {QDir::toNativeSeparators(Name)}));
        return false;
    }
    return !QFileInfo::exists(Name) ||
           EngineHost().Confirm(FormatDialogMessage(QStringLiteral("DMS85"), {QDir::toNativeSeparators(Name)}));
}

bool TMainForm::SaveActiveImage(const QString& Name) {
    if (FActiveImageWindow == nullptr || !MayWriteFile(Name)) return false;
    if (QFileInfo(Name).suffix().toUpper() == QLatin1String("JPG"))
        SaveBitmapAsJpeg(FActiveImageWindow->Picture(), Name);
    else
        FActiveImageWindow->Picture().SaveToFile(Name);
    return true;
}

void TMainForm::AnalyzedImageSaveClick() {
    if (FActiveImageWindow != nullptr) {
        const QFileInfo work(FActiveImageWindow->FWorkFileName);
        SaveDialog->setAcceptMode(QFileDialog::AcceptSave);
        SaveDialog->setFileMode(QFileDialog::AnyFile);
        // The frame asks itself, also for names typed without the dialog.
        SaveDialog->setOption(QFileDialog::DontConfirmOverwrite);
        SaveDialog->setNameFilter(QStringLiteral("Bitmap (*.BMP);;JPEG (*.JPG) (*.JPG)"));
        SaveDialog->setDirectory(work.absolutePath());
        SaveDialog->selectFile(work.completeBaseName() + QStringLiteral(".BMP"));
        if (SaveDialog->exec() == QDialog::Accepted && !SaveDialog->selectedFiles().isEmpty())
            SaveActiveImage(SaveDialog->selectedFiles().first());
    }
    SaveDialog->selectFile(QString());
    SaveDialog->setNameFilter(QString());
}

void TMainForm::CopyEditedImageClick() {
    if (FActiveImageWindow == nullptr) return;
    uint16_t format = 0;
    HGLOBAL data = nullptr;
    HPALETTE palette = nullptr;
    FActiveImageWindow->Picture().SaveToClipboardFormat(format, data, palette);
    Clipboard().Open();
    try {
        Clipboard().Clear();
        Clipboard().SetAsHandle(format, data);
    } catch (...) {
        Clipboard().Close();
        GlobalFree(data);
        throw;
    }
    Clipboard().Close();
}

void TMainForm::SpeedButton16Click() {
    // The period list's entries in order, each the menu item of its period.
    static const char* const kPeriodItems[] = {"DoPARSetTimes1",  "DoPARPeriod1",   "DoPARThisDay1",
                                               "DoPARMonth1",     "DoPARMonthMean1", "DoPARMonthYear1",
                                               "DoPARMonthYearMean1"};
    const int index = PARItems->currentIndex();
    if (index >= 0 && index < static_cast<int>(std::size(kPeriodItems))) MenuItem(kPeriodItems[index])->trigger();
}

void TMainForm::DoLAIEstimateAllClick() {
    if (FActiveImageWindow == nullptr) return;
    OpenDialog->setDirectory(QFileInfo(FActiveImageWindow->FWorkFileName).absolutePath());
    OpenDialog->setFileMode(QFileDialog::ExistingFiles);
    OpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    if (OpenDialog->exec() == QDialog::Accepted) FActiveImageWindow->DoLAIEstimateAll(OpenDialog->selectedFiles());
}

void TMainForm::DoLAIEstimateUseSettingFileClick() {
    if (FActiveImageWindow == nullptr) return;
    TxtOpenDialog->setDirectory(QFileInfo(FActiveImageWindow->FWorkFileName).absolutePath());
    TxtOpenDialog->setFileMode(QFileDialog::ExistingFile);
    TxtOpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    TxtOpenDialog->setNameFilter(QStringLiteral("*"));  // every file, also one without an extension
    if (TxtOpenDialog->exec() == QDialog::Accepted && !TxtOpenDialog->selectedFiles().isEmpty())
        FActiveImageWindow->DoLAIEstimateUseSettingFile(TxtOpenDialog->selectedFiles().first());
}

void TMainForm::FileCloseItemClick() {
    if (QMdiSubWindow* sub = MdiArea->currentSubWindow()) sub->close();
}

void TMainForm::FileExitItemClick() { close(); }

void TMainForm::closeEvent(QCloseEvent* Event) {
    QMainWindow::closeEvent(Event);
    if (Event->isAccepted()) emit Closed();
}

void TMainForm::AddResultsWindow(TInformationWindow* Window) {
    FResults = Window;
    Window->setFont(font());
    QMdiSubWindow* sub = MdiArea->addSubWindow(Window, Qt::SubWindow | Qt::WindowStaysOnTopHint);
    // The window keeps the size its pages ask for.
    sub->adjustSize();
    sub->show();
}

void TMainForm::PlaceResultsWindow() {
    if (FResults == nullptr) return;
    QWidget* sub = FResults->parentWidget();
    const QSize area = MdiArea->viewport()->size();
    sub->move(std::max(0, area.width() - sub->width()), std::max(0, area.height() - sub->height()));
}

void TMainForm::CopyDiscParToClip1Click() {
    if (FResults != nullptr) FResults->CopyClassificationToClipboard();
}

void TMainForm::CopyGapsToClip1Click() {
    if (FResults != nullptr) FResults->CopyGapsToClipboard();
}

void TMainForm::WindowCascadeItemClick() { MdiArea->cascadeSubWindows(); }

void TMainForm::WindowTileItemClick() { MdiArea->tileSubWindows(); }

void TMainForm::WindowArrangeItemClick() {
    // Minimised windows are laid out in a row along the bottom of the area.
    int x = 0;
    for (QMdiSubWindow* sub : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized()) continue;
        sub->move(x, MdiArea->viewport()->height() - sub->height());
        x += sub->width();
    }
}

void TMainForm::WindowMinimizeItemClick() {
    const QList<QMdiSubWindow*> subs = MdiArea->subWindowList(QMdiArea::CreationOrder);
    for (auto it = subs.rbegin(); it != subs.rend(); ++it) (*it)->showMinimized();
}

void TMainForm::HelpAboutItemClick() {
    TAboutBox box(this);
    box.setWindowTitle(CaptionWithoutAccelerator(MenuItem("HelpAboutItem")->text()));
    box.exec();
}

}  // namespace tam32
