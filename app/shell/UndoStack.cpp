#include "UndoStack.h"

#include "FuncGraph.h"

#include <QApplication>
#include <QEvent>

namespace {

QString changeName(const GraphChange& change) {
  switch (change.topic) {
  case ChangeTopic::Formula:
    return QStringLiteral(u"関数の変更");
  case ChangeTopic::Pen:
    return QStringLiteral(u"ペンの変更");
  case ChangeTopic::Range:
    return QStringLiteral(u"範囲の変更");
  case ChangeTopic::Axes:
    return QStringLiteral(u"軸の変更");
  case ChangeTopic::Margins:
    return QStringLiteral(u"余白の変更");
  case ChangeTopic::Background:
    return QStringLiteral(u"背景の変更");
  case ChangeTopic::LabelAdded:
    return QStringLiteral(u"ラベルの追加");
  case ChangeTopic::LabelMoved:
    return QStringLiteral(u"ラベルの移動");
  case ChangeTopic::LabelEdited:
    return QStringLiteral(u"ラベルの編集");
  case ChangeTopic::LabelDeleted:
    return QStringLiteral(u"ラベルの削除");
  case ChangeTopic::Parameters:
    return QStringLiteral(u"パラメータの変更");
  case ChangeTopic::Calculus:
    return QStringLiteral(u"微積分の変更");
  case ChangeTopic::Legend:
    return QStringLiteral(u"凡例の変更");
  case ChangeTopic::Data:
    return QStringLiteral(u"データの変更");
  case ChangeTopic::Options:
    return QStringLiteral(u"オプションの変更");
  case ChangeTopic::None:
    break;
  }
  return QString();
}

QString commandText(const QString& command, const GraphChange& change) {
  const QString name = changeName(change);
  return name.isEmpty() ? command : command + QStringLiteral(u": ") + name;
}

} // namespace

TUndoStack::TUndoStack(TFuncGraph* graph, QObject* parent) : QObject(parent), graph(graph) {
  elapsed.start();
  clock = [this] { return elapsed.elapsed(); };
  isPlaying = [] { return false; };
  pending.setSingleShot(true);
  pending.setInterval(0);
  connect(&pending, &QTimer::timeout, this, &TUndoStack::check);
  connect(graph, &TFuncGraph::Edited, &pending, qOverload<>(&QTimer::start));
  // The focus that a press moves (to a slider, say) is part of the drag that follows.
  connect(qApp, &QApplication::focusChanged, this, [this] {
    if (QGuiApplication::mouseButtons() == Qt::NoButton) seal();
  });
  qApp->installEventFilter(this);
  reset();
}

void TUndoStack::reset() {
  pending.stop();
  history.reset(graph->Model());
  emit changed();
}

void TUndoStack::seal() {
  flush();
  history.seal();
}

// A press and a release bound a drag; a wheel notch and a key say which pause ends the edit.
bool TUndoStack::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
  case QEvent::MouseButtonPress:
  case QEvent::MouseButtonRelease:
    wheeling = false;
    seal();
    break;
  case QEvent::Wheel:
    wheeling = true;
    break;
  case QEvent::KeyPress:
    wheeling = false;
    break;
  default:
    break;
  }
  return QObject::eventFilter(watched, event);
}

void TUndoStack::flush() {
  if (!pending.isActive()) return;
  pending.stop();
  check();
}

void TUndoStack::check() {
  const GraphModel state = graph->Model();
  if (isPlaying())
    history.amend(state);
  else if (history.record(state, clock(), mergeWindow()))
    emit changed();
}

std::int64_t TUndoStack::mergeWindow() const {
  if (QGuiApplication::mouseButtons() != Qt::NoButton) return UndoHistory::Unbounded;
  return wheeling ? WheelPause : TypingPause;
}

QString TUndoStack::undoText() const {
  return commandText(QStringLiteral(u"元に戻す"), history.undoChange());
}

QString TUndoStack::redoText() const {
  return commandText(QStringLiteral(u"やり直し"), history.redoChange());
}

void TUndoStack::undo() {
  flush();
  if (canUndo()) restore(history.undo());
}

void TUndoStack::redo() {
  flush();
  if (canRedo()) restore(history.redo());
}

// Showing the state edits the graph too; those edits are the state itself and no step.
// The state is copied: drawing lets messages run.
void TUndoStack::restore(const GraphModel& state) {
  graph->RestoreModel(GraphModel(state));
  pending.stop();
  emit restored();
  emit changed();
}
