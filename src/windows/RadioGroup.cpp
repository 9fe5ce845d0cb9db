#include "windows/RadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tam32 {

TRadioGroup::TRadioGroup(const QString& Caption, const QStringList& Items, QWidget* Parent)
    : QGroupBox(Caption, Parent), FButtons(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < Items.size(); ++i) {
        auto* button = new QRadioButton(Items[i], this);
        FButtons->addButton(button, i);
        layout->addWidget(button);
    }
}

int TRadioGroup::ItemIndex() const { return FButtons->checkedId(); }

void TRadioGroup::SetItemIndex(int Index) {
    if (QAbstractButton* button = FButtons->button(Index)) button->setChecked(true);
}

void TRadioGroup::SetItems(const QStringList& Items) {
    for (int i = 0; i < Items.size(); ++i)
        if (QAbstractButton* button = FButtons->button(i)) button->setText(Items[i]);
}

}  // namespace tam32
