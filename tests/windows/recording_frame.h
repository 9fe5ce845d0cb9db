#pragma once
// A frame for image windows under test: every menu item exists (checkable,
// enabled), the status panels and the edge view are recorded.
#include <QAction>
#include <QHash>
#include <QString>
#include <memory>

#include "platform/Bitmap.h"
#include "windows/ImageWindowFrame.h"

namespace tam32::test {

class TRecordingFrame : public TImageWindowFrame {
public:
    TRecordingFrame() {
        EdgeStrip.SetPixelFormat(TPixelFormat::pf24bit);
        EdgeStrip.SetSize(192, 48);
    }
    ~TRecordingFrame() override { qDeleteAll(Items); }
    TLeafImageWindow* ActiveImageWindow() const override { return Active; }
    void SetActiveImageWindow(TLeafImageWindow* Window) override { Active = Window; }
    void SetSizeText(const QString& Text) override { SizeText = Text; }
    void SetPositionText(const QString& Text) override { PositionText = Text; }
    void ShowEdgeView() override { EdgeViewShown = true; }
    void HideEdgeView() override {
        EdgeViewShown = false;
        ++EdgeViewHidden;
    }
    TBitmap* EdgeView() override { return &EdgeStrip; }
    QAction* MenuItem(const char* Name) const override {
        QAction*& item = Items[QLatin1String(Name)];
        if (item == nullptr) {
            item = new QAction(QLatin1String(Name));
            item->setCheckable(true);
        }
        return item;
    }
    bool Checked(const char* Name) const { return MenuItem(Name)->isChecked(); }
    bool Enabled(const char* Name) const { return MenuItem(Name)->isEnabled(); }

    TLeafImageWindow* Active = nullptr;
    QString SizeText;
    QString PositionText;
    bool EdgeViewShown = false;
    int EdgeViewHidden = 0;
    TBitmap EdgeStrip;
    mutable QHash<QString, QAction*> Items;
};

}  // namespace tam32::test
