#include "RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace {
// Room for the caption above the first item and a little below the last.
constexpr int CaptionHeight = 14;
constexpr int BottomGap = 4;
constexpr int ItemLeft = 8;
} // namespace

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons(new QButtonGroup(this)) {
  for (int i = 0; i < items.size(); ++i)
    buttons->addButton(new QRadioButton(items[i], this), i);
  connect(buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) emit clicked(id);
  });
}

int TRadioGroup::ItemIndex() const {
  return buttons->checkedId();
}

void TRadioGroup::setItemIndex(int index) {
  if (QAbstractButton* item = buttons->button(index)) {
    item->setChecked(true);
    return;
  }
  // An exclusive group keeps one button checked; unchecking them all needs it lifted.
  buttons->setExclusive(false);
  for (QAbstractButton* item : buttons->buttons())
    item->setChecked(false);
  buttons->setExclusive(true);
}

QRadioButton* TRadioGroup::Item(int index) const {
  return qobject_cast<QRadioButton*>(buttons->button(index));
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  layoutItems();
}

// The items share the height below the caption evenly, each in a row of its own.
void TRadioGroup::layoutItems() {
  const QList<QAbstractButton*> items = buttons->buttons();
  if (items.isEmpty()) return;
  const int rowHeight = (height() - CaptionHeight - BottomGap) / static_cast<int>(items.size());
  for (int i = 0; i < items.size(); ++i)
    items[i]->setGeometry(ItemLeft, CaptionHeight + i * rowHeight, width() - 2 * ItemLeft,
                          rowHeight);
}
