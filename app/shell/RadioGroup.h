// TRadioGroup: a captioned group of radio buttons stacked in one column; the checked item's
// index is the group's value.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
  Q_OBJECT

public:
  TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

  // -1 when no item is checked.
  int ItemIndex() const;
  // An index outside the items unchecks them all.
  void setItemIndex(int index);
  QRadioButton* Item(int index) const;

signals:
  // An item became the checked one, by the user or by setItemIndex.
  void clicked(int index);

protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void layoutItems();

  QButtonGroup* buttons;
};
