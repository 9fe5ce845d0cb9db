#include "app/ToolBarButtons.h"

#include <QAction>
#include <QComboBox>

#include "app/MainForm.h"

// The pictures are compiled into this static library: their registration is
// linked in only when asked for by name, from outside any namespace.
static void RegisterIconResources() { Q_INIT_RESOURCE(tam32_icons); }

namespace tam32 {
namespace {

constexpr int kShiftJisCharset = 128;

constexpr TToolButtonDef kButtons[] = {
    {"OpenBtn", "FileOpenItem", "開く", "document-open", "open"},
    {"SpeedButton3", "TWAINImageInput", "TWAIN機器から入力", "scanner", "scanner"},
    {"SpeedButton20", "AnalyzedImageSave", "解析画像保存（DDB形式）", "document-save", "save"},
    {"SpeedButton5", "CopyEditedImage", "画像をクリップボードにコピー", "edit-copy", "copy"},
    {"SpeedButton6", "ImagePaste1", "クリップボードから画像を読み込む", "edit-paste", "paste"},
    {"SpeedButton1", "ImageViewEnhance1", "画像の拡大", "zoom-in", "zoom-in"},
    {"SpeedButton4", "ImageViewReduce1", "画像の縮小", "zoom-out", "zoom-out"},
    {"SpeedButton24", "DoChangeLightLevel", "", "", "brightness"},
    // The picture as read from its file again.
    {"SpeedButton7", "ImageViewOriginal1", "オリジナル画像に戻す", "document-revert", "revert"},
    {"SpeedButton9", "DoLabellAnalysis1", "面積推定（ラベリング）", "", "area-labelling"},
    {"SpeedButton8", "ViewHistgram1", "色濃度ヒストグラムの表示", "", "histogram"},
    {"SpeedButton18", "DoSepColorAnalysis1", "前・背景別色解析", "", "colour-leaf-background"},
    {"SpeedButton21", "DoSearchColors1", "色探索", "", "colour-search"},
    {"SpeedButton10", "DoLAIEstimate1", "LAIの推定", "", "lai"},
    {"SpeedButton16", "DoPAREstimate1", "PAR推定", "", "par"},
    {"SpeedButton19", "DoGapEstimate2D", "", "", "gap"},
    {"SpeedButton17", "ProcOptionSetting1", "オプション設定", "", "options"},
    {"SpeedButton11", "SetTagArea1", "BOXエリア選択", "", "box-area"},
    {"SpeedButton12", "LineProfile1", "ライン・プロファイル", "", "line-profile"},
    {"SpeedButton13", "MouseDetectCircleArea1", "全天空画像エリアのマウスによる選択", "", "circle-by-mouse"},
    {"SpeedButton22", "CircleAreaBy3Points", "", "", "circle-3-points"},
    {"SpeedButton25", "AutoDetectCircleArea1", "全天空画像エリア自動選択", "", "circle-auto"},
    {"SpeedButton14", "CircleAreaCenter1", "全天空画像エリアの中心移動", "", "circle-centre"},
    {"SpeedButton15", "SetNorthDirection1", "全天空画像の方位設定", "", "north"},
    {"SpeedButton2", "CircleAreaScale1", "", "", "scale"},
};

QIcon IconResource(const QString& Name) {
    [[maybe_unused]] static const bool registered = (RegisterIconResources(), true);
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(Name));
}

}  // namespace

std::span<const TToolButtonDef> ToolBarButtons() { return kButtons; }

const char* ToolButtonOf(const char* Item) {
    for (const TToolButtonDef& def : kButtons)
        if (qstrcmp(def.MenuItem, Item) == 0) return def.Name;
    return nullptr;
}

QIcon OwnToolButtonIcon(const TToolButtonDef& Def) { return IconResource(QLatin1String(Def.IconFile)); }

QIcon ToolButtonIcon(const TToolButtonDef& Def) {
    if (*Def.ThemeIcon == '\0') return OwnToolButtonIcon(Def);
    return QIcon::fromTheme(QLatin1String(Def.ThemeIcon), OwnToolButtonIcon(Def));
}

QIcon ProgramIcon() { return IconResource(QStringLiteral("tam32")); }

void RelabelToolButtonHints(const TMainForm& Frame, int MenuCharset) {
    for (const TToolButtonDef& def : kButtons) {
        QString hint = MenuCharset == kShiftJisCharset ? QString::fromUtf8(def.Hint) : QString();
        // The icon text is the caption without its accelerator mark ("&&" gives "&").
        if (hint.isEmpty()) hint = Frame.MenuItem(def.MenuItem)->iconText();
        Frame.ToolButton(def.Name)->setToolTip(hint);
    }
    // The period list goes with the PAR button.
    Frame.PARItems->setToolTip(MenuCharset == kShiftJisCharset ? QStringLiteral("PAR推定期間")
                                                              : Frame.MenuItem("DoPAREstimate1")->iconText());
}

}  // namespace tam32
