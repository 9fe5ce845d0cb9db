#pragma once
// The program's frame: the image windows in a multiple-document area, the
// menu relabelled from the menu message file on every change of the active
// form, the tool bar with the PAR period list and the three-panel status bar.
// It opens, pastes and saves the pictures of its image windows.
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/canopy/GapEstimate.h"
#include "windows/ImageWindowFrame.h"

class QComboBox;
class QFileDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QTemporaryDir;
class QToolBar;

namespace tam32 {

class TAcquireImage;
class TBitmap;
class TInformationWindow;
class TImageView;
class TSPIs;
class TLeafImageWindow;

class TMainForm : public QMainWindow, public TImageWindowFrame {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* Parent = nullptr);
    ~TMainForm() override;

    // Enables Close and the Window items exactly when an image window is
    // open, then relabels every menu item and the PAR periods. ERangeError
    // for a character set outside 0..255, before any caption changes.
    void UpdateMenuItems();

    // Opens Name in a new image window and makes it the active one. A file
    // that cannot be read raises and opens no window.
    TLeafImageWindow* CreateMDIChild(const QString& Name, bool Temporary);
    void OpenFiles(const QStringList& Names);
    // True when the clipboard holds no picture (nothing opens).
    bool PasteImageFromClipboard();
    // Scans a picture into FileName (a new temporary file). False when the
    // source manager is missing ("ERR1" shown), it has no source ("DMS109"
    // shown), the user cancels the source selection, or the source delivers
    // nothing.
    bool AcquireTwainImage(QString& FileName);
    // Writes the active window's picture to Name: JPEG for ".JPG" in any
    // case, else BMP. Refuses a file that an open window shows and asks
    // before replacing another; False when nothing was written.
    bool SaveActiveImage(const QString& Name);

    void FileOpenItemClick();
    void FileCloseItemClick();
    void FileExitItemClick();
    void ImagePaste1Click();
    void TWAINImageInputClick();
    void AnalyzedImageSaveClick();
    void CopyEditedImageClick();
    void WindowCascadeItemClick();
    void WindowTileItemClick();
    void WindowArrangeItemClick();
    void WindowMinimizeItemClick();
    void HelpAboutItemClick();
    // Copy the results window's classification or gap-estimate table as
    // text; they need no image window.
    void CopyDiscParToClip1Click();
    void CopyGapsToClip1Click();
    // The PAR button runs the period chosen in the period list.
    void SpeedButton16Click();
    // Asks for photographs and estimates LAI for each with the active window's settings.
    void DoLAIEstimateAllClick();
    // Asks for a batch settings file and estimates LAI for each image it lists.
    void DoLAIEstimateUseSettingFileClick();
    // The two-photograph gap estimate: asks for the photographs, heights and
    // lens, opens both photographs, measures the object in each by labelling
    // and computes its distance and real area; nothing when the dialog is
    // cancelled or a measurement fails ("ERR5"). The settings it changes for
    // the labelling are put back on every exit.
    std::optional<TGapEstimate> EstimateGaps2D();
    // Runs it and writes the result into the results window's gap table.
    void DoGapEstimate2DClick();
    // Save the active classifier to a classifier file ("ERR3" without one),
    // and make the classifier of such a file the active one; nothing without
    // an image window.
    void SaveDisc3Pars1Click();
    void ReLoadDisc3Pars1Click();
    // The distortion-corrected picture of the active window ("ERR4" first
    // when the parameter's size is below 0.1), full-image (0) or with the
    // blanks removed (1): written to a chosen BMP file and opened, or shown
    // in the window in place of its picture.
    void MakeCLDFile0Click();
    void MakeCLDFile1Click();
    void ViewCLDImage0Click();
    void ViewCLDImage1Click();
    // The north-up and slope-corrected photograph of the active window,
    // written to a chosen BMP file and opened; only while SlopeCorrection is on.
    void ViewCorrectedHemiImageClick();
    // The spatial filter: its kernel defined in the filter dialog, and the
    // active window's work file filtered into a chosen BMP file (its
    // extension made ".BMP") and opened; nothing without a defined kernel.
    void SelectFilterClick();
    void DoFilteringClick();
    // The active window's photograph corrected by its control-point fit,
    // written to a chosen BMP file and opened.
    void AfineTransClick();

    TLeafImageWindow* ActiveImageWindow() const override { return FActiveImageWindow; }
    void SetActiveImageWindow(TLeafImageWindow* Window) override { FActiveImageWindow = Window; }
    void SetSizeText(const QString& Text) override;
    void SetPositionText(const QString& Text) override;
    void ShowEdgeView() override;
    void HideEdgeView() override;
    TBitmap* EdgeView() override { return FEdgeView.get(); }
    QAction* MenuItem(const char* Name) const override;
    // The tool button of that name; nullptr when there is none.
    QAction* ToolButton(const char* Name) const;

    // Takes Window (the one results window) among the child windows, on top
    // of the image windows; closing it minimises it.
    void AddResultsWindow(TInformationWindow* Window);
    // The results window in the lower right corner of the child area.
    void PlaceResultsWindow();
    TInformationWindow* ResultsWindow() const { return FResults; }

    QList<TLeafImageWindow*> ImageWindows() const;
    // The private folder of this run's pasted pictures; removed with the frame.
    QString TemporaryFolder();
    QLabel* StatusPanel(int Index) const { return FStatusPanels.at(static_cast<size_t>(Index)); }
    int MenuCharset() const { return FCharset; }

    QMdiArea* MdiArea;
    QWidget* Panel1;
    // The edge view on Panel1.
    TImageView* Image1;
    QToolBar* ToolBar1;
    QComboBox* PARItems;
    QFileDialog* OpenDialog;
    QFileDialog* SaveDialog;
    // The batch settings file's open dialog.
    QFileDialog* TxtOpenDialog;
    // The two photographs of the last gap estimate.
    QPointer<TLeafImageWindow> GapImageWindow1, GapImageWindow2;
    std::unique_ptr<TAcquireImage> AcquireImage1;
    int ImageCounter = 0;

signals:
    // The frame has closed: the program ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* Event) override;
    // The first showing is a change of the active form, also without a window manager.
    void showEvent(QShowEvent* Event) override;

private:
    void CreateMenu();
    void CreateStatusBar();
    void CreateToolBar();
    void BindHandlers();
    // Handler runs on the menu item and on the tool button of those names (either may be nullptr).
    void Bind(const char* Item, const char* Button, const std::function<void()>& Handler);
    void LoadPlugins();
    void RelabelSafely();
    void ListWindows();
    int ImageWindowCount() const;
    bool IsShownByWindow(const QString& Name) const;
    // False when Name is the file of an open window (said so) or an existing
    // file that the user keeps.
    bool MayWriteFile(const QString& Name);
    // Asks for the file of the distortion-corrected picture of the active
    // window (CLDFullImage set), writes it and opens it.
    void MakeCLDFileAs();

    std::vector<QLabel*> FStatusPanels;
    // The menu items in the order of the tree, and by name.
    std::vector<QAction*> FMenuItems;
    QHash<QString, QAction*> FItemsByName;
    QHash<QString, QAction*> FToolButtons;
    QList<QAction*> FWindowListItems;
    TLeafImageWindow* FActiveImageWindow = nullptr;
    TInformationWindow* FResults = nullptr;
    // A sub-window being destroyed, no longer counted as open.
    const QMdiSubWindow* FGoingSubWindow = nullptr;
    std::unique_ptr<TSPIs> SPIs1;
    std::unique_ptr<QTemporaryDir> FTemporaryFolder;
    std::unique_ptr<TBitmap> FEdgeView;
    int FCharset = 1;
    bool FRelabelling = false;
    QString FLastRelabelError;
};

}  // namespace tam32
