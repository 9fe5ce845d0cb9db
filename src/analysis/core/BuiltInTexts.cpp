#include "analysis/core/BuiltInTexts.h"

namespace tam32 {
namespace {

struct TBuiltInText {
    const char* Section;
    const char* Key;
    const char* Text;  // UTF-8
};

constexpr TBuiltInText kTexts[] = {
    {"ERROR_CODE_", "ERR28", "斜面傾斜角補正が無効です（オプションで SlopeCorrection=1 の設定ファイルを読み込んで有効にしてください）"},
    {"ERROR_CODE_", "ERR29", "コントロール・ポイントの回帰式がありません（先にコントロール・ポイントの「解析」を実行してください）"},
    // The histogram window.
    {"DIALOG_CODE_", "DMS95", "輝度\t全体\t 葉"},
    {"DIALOG_CODE_", "DMS96", "輝度値\t赤(ﾋﾟｸｾﾙ)\t緑(ﾋﾟｸｾﾙ)\t青(ﾋﾟｸｾﾙ)"},
    {"DIALOG_CODE_", "DMS97", "色"},
    {"DIALOG_CODE_", "DMS98", "ｷｬﾝｾﾙ"},
    {"DIALOG_CODE_", "DMS99", "次の操作はこのウインドウを閉じないとできません！"},
    {"DIALOG_CODE_", "DMS100", "ヒストグラムの黒い部分が認識されます！"},
    // The gap estimate's layout of the period dialog.
    {"DIALOG_CODE_", "DMS101", "35mm換算の焦点距離(mm)"},
    {"DIALOG_CODE_", "DMS102", "コンバージョン・レンズ焦点距離の倍率"},
    {"DIALOG_CODE_", "DMS103", "撮影高差を設定して下さい！"},
    {"DIALOG_CODE_", "DMS104", "1枚目の写真"},
    {"DIALOG_CODE_", "DMS105", "2枚目の写真"},
    // The control-point fit, the circle's diameter, the scale by area, the scanner.
    {"DIALOG_CODE_", "DMS106", "エラー：回帰不能！"},
    {"DIALOG_CODE_", "DMS107", "全天空範囲の直径"},
    {"DIALOG_CODE_", "DMS108", "面積には0より大きい数値を入力してください"},
    {"DIALOG_CODE_", "DMS109", "スキャナ・カメラが見つかりません"},
    // The results window: the LAI report's table by zenith angle.
    {"INFODLG_", "11", "対象天頂角,総ﾋﾟｸｾﾙ数,葉間隙ﾋﾟｸｾﾙ数,開空度,R%,G%,B%"},
    {"INFODLG_", "12", "（除外）"},
    {"INFODLG_", "13", "～"},
    // The sample table's hints.
    {"LOOK_", "6", "サンプルをクリアします"},
    {"LOOK_", "7", "選択した行を削除します"},
    {"LOOK_", "8", "グループを追加します"},
    {"LOOK_", "9", "グループを削除します"},
    {"LOOK_", "10", "判別分析の実行"},
    // The options dialog: its title, hints, the slope group and the zenith threshold models.
    {"OPTION_", "52", "オプション"},
    {"OPTION_", "53", "補正パラメータ（-100～100）"},
    {"OPTION_", "54", "ﾏｲﾅｽの場合は最大まで"},
    {"OPTION_", "55", "ノーマル・レンズの場合は35mm換算の画角"},
    {"OPTION_", "56", "時計方向で設定"},
    {"OPTION_", "57", "全天空画像の斜面傾斜角補正"},
    {"OPTION_", "58", "有効"},
    {"OPTION_", "59", "無補正"},
    {"OPTION_", "60", "補正１"},
    {"OPTION_", "61", "補正２"},
    {"OPTION_", "62", "補正３"},
    {"OPTION_", "63", "補正４"},
};

}  // namespace

std::optional<QString> BuiltInText(const QString& Section, const QString& Key) {
    // Names compare as the message files' sections and keys do, without regard to case.
    const auto same = [](const QString& A, const char* B) { return A.compare(QLatin1String(B), Qt::CaseInsensitive) == 0; };
    for (const TBuiltInText& Text : kTexts)
        if (same(Section, Text.Section) && same(Key, Text.Key)) return QString::fromUtf8(Text.Text);
    return std::nullopt;
}

}  // namespace tam32
