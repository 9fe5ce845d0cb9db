#include "app/ToolBarButtons.h"

#include <QPainter>
#include <QPixmap>

namespace tam32 {
namespace {

constexpr TToolButtonDef kButtons[] = {
    {"OpenBtn", "開く", "開"},
    {"SpeedButton3", "TWAIN機器から入力", "TW"},
    {"SpeedButton20", "解析画像保存（DDB形式）", "保"},
    {"SpeedButton5", "画像をクリップボードにコピー", "写"},
    {"SpeedButton6", "クリップボードから画像を読み込む", "貼"},
    {"SpeedButton1", "画像の拡大", "＋"},
    {"SpeedButton4", "画像の縮小", "－"},
    {"SpeedButton24", "", "明"},
    {"SpeedButton7", "オリジナル画像に戻す", "原"},
    {"SpeedButton9", "面積推定（ラベリング）", "面"},
    {"SpeedButton8", "色濃度ヒストグラムの表示", "ヒ"},
    {"SpeedButton18", "前・背景別色解析", "色"},
    {"SpeedButton21", "色探索", "探"},
    {"SpeedButton10", "LAIの推定", "LAI"},
    {"SpeedButton16", "PAR推定", "PAR"},
    {"SpeedButton19", "", "Gap"},
    {"SpeedButton17", "オプション設定", "設"},
    {"SpeedButton11", "BOXエリア選択", "□"},
    {"SpeedButton12", "ライン・プロファイル", "／"},
    {"SpeedButton13", "全天空画像エリアのマウスによる選択", "○"},
    {"SpeedButton22", "", "３"},
    {"SpeedButton25", "全天空画像エリア自動選択", "自"},
    {"SpeedButton14", "全天空画像エリアの中心移動", "中"},
    {"SpeedButton15", "全天空画像の方位設定", "N"},
    {"SpeedButton2", "", "目"},
};

}  // namespace

std::span<const TToolButtonDef> ToolBarButtons() { return kButtons; }

QIcon GlyphIcon(const QString& Glyph) {
    QPixmap face(24, 24);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    QFont font = painter.font();
    font.setPixelSize(Glyph.size() > 2 ? 9 : 14);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x20, 0x30, 0x60));
    painter.drawText(face.rect(), Qt::AlignCenter, Glyph);
    return QIcon(face);
}

}  // namespace tam32
