#include "GraphLabel.h"

#include "FontChoice.h"
#include "FuncGraph.h"
#include "QtObjects.h"

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

namespace {

// The height of the dialog's row with the box that pins the label.
constexpr int PinRowHeight = 24;

// The topmost visible child widget of parent at pos (parent's coordinates), descending into
// children, or parent itself; skip and its children take no part.
QWidget* widgetAt(QWidget* parent, QPoint pos, const QWidget* skip) {
  const QObjectList& children = parent->children(); // in stacking order, topmost last
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    auto* child = qobject_cast<QWidget*>(*it);
    if (!child || child == skip || child->isWindow() || child->isHidden() ||
        !child->geometry().contains(pos))
      continue;
    return widgetAt(child, pos - child->pos(), skip);
  }
  return parent;
}

struct DropPlace {
  QWidget* widget = nullptr;
  TDragTarget* target = nullptr;
  QPoint pos; // in widget's coordinates
};

// The first drag target at or above the widget under the global position inside window.
DropPlace dropPlaceAt(QWidget* window, QPoint global, const QWidget* skip) {
  const QPoint local = window->mapFromGlobal(global);
  if (!window->rect().contains(local)) return {};
  for (QWidget* w = widgetAt(window, local, skip); w;
       w = w->isWindow() ? nullptr : w->parentWidget())
    if (auto* target = dynamic_cast<TDragTarget*>(w)) return {w, target, w->mapFromGlobal(global)};
  return {};
}

// The font button's picture: a bold "A" over a red bar.
QIcon fontButtonIcon() {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(13);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRect(0, 0, 16, 13), Qt::AlignCenter, QStringLiteral("A"));
  painter.fillRect(QRect(2, 13, 12, 2), Qt::red);
  return QIcon(picture);
}

} // namespace

TGraphLabel::TGraphLabel(TFuncGraph* graph, std::int32_t tag)
    : QLabel(graph), m_graph(graph), m_color(graph->BackBrush().Color), m_tag(tag) {
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(false); // transparent: the graph shows around the letters
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setFont(TFont{});
}

// The text's cell, as a canvas writes it: one line's advance by the font's height.
QSize TGraphLabel::sizeHint() const {
  const QFontMetrics metrics = fontMetrics();
  return {metrics.horizontalAdvance(text()), metrics.height()};
}

TGraphLabel::~TGraphLabel() {
  endDrag();
}

void TGraphLabel::setCaption(const QString& caption) {
  setText(caption);
  adjustSize();
}

void TGraphLabel::setFont(const TFont& font) {
  m_font = font;
  QLabel::setFont(toQFont(font));
  QPalette colors = palette();
  colors.setColor(QPalette::WindowText, toQColor(font.Color));
  setPalette(colors);
  adjustSize();
}

void TGraphLabel::setPinned(bool pinned) {
  if (pinned)
    m_pin = LabelPin{m_graph->PixelToX(x()), m_graph->PixelToY(y())};
  else
    m_pin.reset();
}

bool TGraphLabel::DragOver(QObject* source, QPoint pos) {
  return qobject_cast<TGraphLabel*>(source) && m_graph->DragOver(source, pos + this->pos());
}

// The dragged label already stands where the last drag over this label put it.
void TGraphLabel::DragDrop(QObject*, QPoint) {}

void TGraphLabel::mousePressEvent(QMouseEvent* event) {
  QLabel::mousePressEvent(event);
  event->accept();
  if (event->button() == Qt::LeftButton) {
    m_grab = event->position().toPoint();
    endDrag();
    m_drag.armed = true;
    m_drag.pressGlobal = event->globalPosition().toPoint();
  } else if (event->button() == Qt::RightButton && !(event->buttons() & Qt::LeftButton)) {
    // Not in the middle of a drag: the dialog would take the left button's release.
    // The graph outlives its labels; this one may be gone when the dialog returns.
    TFuncGraph* graph = m_graph;
    TGraphLabelDlg dialog(window());
    if (dialog.Execute(this) == QDialog::Accepted) graph->LabelChanged();
  }
}

void TGraphLabel::mouseMoveEvent(QMouseEvent* event) {
  QLabel::mouseMoveEvent(event);
  if (!m_drag.armed || !(event->buttons() & Qt::LeftButton)) return;
  const QPoint global = event->globalPosition().toPoint();
  if (!m_drag.active &&
      (global - m_drag.pressGlobal).manhattanLength() < QApplication::startDragDistance())
    return;
  m_drag.active = true;
  showDragCursor(dragTo(global, false));
}

void TGraphLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  const bool dragged = m_drag.active;
  endDrag();
  if (dragged) dragTo(event->globalPosition().toPoint(), true);
}

// The drop comes last: its target may hide this label, or even destroy it.
bool TGraphLabel::dragTo(QPoint global, bool drop) {
  const DropPlace place = dropPlaceAt(window(), global, this);
  const bool accepted = place.target && place.target->DragOver(this, place.pos);
  if (accepted && drop) place.target->DragDrop(this, place.pos);
  return accepted;
}

void TGraphLabel::showDragCursor(bool accepted) {
  const QCursor cursor(accepted ? Qt::ClosedHandCursor : Qt::ForbiddenCursor);
  if (m_drag.cursorSet)
    QGuiApplication::changeOverrideCursor(cursor);
  else
    QGuiApplication::setOverrideCursor(cursor);
  m_drag.cursorSet = true;
}

void TGraphLabel::endDrag() {
  if (m_drag.cursorSet) QGuiApplication::restoreOverrideCursor();
  m_drag = Drag{};
}

TGraphLabelDlg::TGraphLabelDlg(QWidget* parent)
    : QDialog(parent), EditLabelCaption(new QLineEdit(this)), btnFont(new QToolButton(this)),
      CheckPin(new QCheckBox(QStringLiteral(u"座標に固定"), this)),
      BitBtn1(new QPushButton(QStringLiteral("OK"), this)) {
  setWindowTitle(QStringLiteral("グラフ・ラベルの編集"));
  EditLabelCaption->setObjectName(QStringLiteral("EditLabelCaption"));
  btnFont->setObjectName(QStringLiteral("btnFont"));
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  // A row below the caption holds the box that pins the label.
  setFixedSize(377, 40 + PinRowHeight);
  EditLabelCaption->setGeometry(16, 8, 233, 20);
  CheckPin->setObjectName(QStringLiteral("CheckPin"));
  CheckPin->setToolTip(QStringLiteral(u"拡大や移動のあとも、ラベルがグラフの同じ点に付いて動きます"));
  btnFont->setGeometry(264, 8, 25, 25);
  btnFont->setIcon(fontButtonIcon());
  BitBtn1->setGeometry(296, 8, 75, 25);
  BitBtn1->setDefault(true);
  connect(btnFont, &QToolButton::clicked, this, &TGraphLabelDlg::btnFontClick);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

int TGraphLabelDlg::Execute(TGraphLabel* label) {
  if (!label) return Rejected;
  // Pending messages run below; the label may be gone when they have.
  const QPointer<TGraphLabel> target(label);
  const int difference = height() - EditLabelCaption->height();
  EditLabelCaption->setText(label->Caption());
  QPalette colors = EditLabelCaption->palette();
  colors.setColor(QPalette::Text, toQColor(label->Font().Color));
  EditLabelCaption->setPalette(colors);
  editedFont = label->Font();
  CheckPin->setChecked(label->Pin().has_value());
  EditLabelCaption->setFont(toQFont(editedFont));
  fitHeight(difference);
  if (const QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - rect().center());
  const int result = exec();
  if (result == Accepted && target) {
    target->setCaption(EditLabelCaption->text());
    target->setFont(editedFont);
    if (CheckPin->isChecked() != target->Pin().has_value()) target->setPinned(CheckPin->isChecked());
    fitHeight(difference);
  }
  return result;
}

void TGraphLabelDlg::btnFontClick() {
  const int difference = height() - EditLabelCaption->height();
  const std::optional<TFont> chosen = chooseFont(editedFont, this);
  if (!chosen) return;
  editedFont = *chosen;
  EditLabelCaption->setFont(toQFont(editedFont));
  fitHeight(difference);
}

// The edit sizes itself like a one-line edit of the platform: one text line and its frame
// (20 pixels for the default font).
void TGraphLabelDlg::fitHeight(int difference) {
  QCoreApplication::processEvents();
  const int editHeight = QFontMetrics(EditLabelCaption->font()).height() + 8;
  EditLabelCaption->resize(EditLabelCaption->width(), editHeight);
  CheckPin->move(EditLabelCaption->x(), EditLabelCaption->geometry().bottom() + 8);
  CheckPin->adjustSize();
  setFixedSize(width(), difference + editHeight);
}
