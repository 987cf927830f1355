#include "RadioGroup.h"

#include <QButtonGroup>
#include <QEvent>
#include <QRadioButton>

namespace {
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

// The style sets the contents margins from the caption's font and the frame; they change
// without a resize.
void TRadioGroup::changeEvent(QEvent* event) {
  QGroupBox::changeEvent(event);
  if (event->type() == QEvent::ContentsRectChange) layoutItems();
}

// The items share the height inside the frame and below the caption evenly, each in a row of
// its own.
void TRadioGroup::layoutItems() {
  const QList<QAbstractButton*> items = buttons->buttons();
  if (items.isEmpty()) return;
  const QRect area = contentsRect();
  const int rowHeight = area.height() / static_cast<int>(items.size());
  for (int i = 0; i < items.size(); ++i)
    items[i]->setGeometry(ItemLeft, area.top() + i * rowHeight, width() - 2 * ItemLeft, rowHeight);
}
