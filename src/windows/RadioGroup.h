#pragma once
// A titled group of exclusive choices with an item index, -1 for none.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

namespace tam32 {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& Caption, const QStringList& Items, QWidget* Parent = nullptr);

    int ItemIndex() const;
    void SetItemIndex(int Index);
    // Replaces the captions of the existing items.
    void SetItems(const QStringList& Items);

private:
    QButtonGroup* FButtons;
};

}  // namespace tam32
