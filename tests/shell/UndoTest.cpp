// Undo and redo in the main window, driven as a user drives it: every kind of content changed
// through its own control and the whole way back and forth compared as saved bytes; the pauses,
// presses and plays that bound a step; the state last saved; what clears the history; and the
// windows that follow.
#include "mainMain.h"

#include "DialogTestSupport.h"
#include "FuncGraph.h"
#include "GraphDocument.h"
#include "ParameterWindow.h"
#include "PenEditDialog.h"
#include "SetFuncDialog.h"
#include "SetGraphDialog.h"
#include "SpinEdit.h"
#include "UndoStack.h"
#include "ViewNavigation.h"

#include <QComboBox>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>

namespace {

class UndoTest : public ::testing::Test {
protected:
  UndoTest() {
    form.setWindows(nullptr, &setFunc, &setGraph);
    form.show();
    form.UndoStack()->setClock([this] { return now; });
    QApplication::processEvents();
  }

  TFuncGraph& graph() { return *form.FGraph; }

  // The document the graph saves now, written to a file of its own.
  QByteArray saved() {
    const QString name = dir.filePath(QStringLiteral("state%1.kvx").arg(++saves));
    SaveGraphDocument(name, graph().Model());
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // An edit made long after the one before, its event done.
  void edit(const std::function<void()>& change) {
    now += 10000;
    change();
    QApplication::processEvents();
  }

  void turnWheel(int notches) {
    const QPointF at(120, 100);
    for (int i = 0; i < notches; ++i) {
      QWheelEvent event(at, graph().mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(&graph(), &event);
      now += 100;
      QApplication::processEvents();
    }
  }

  int undoAll() {
    int undone = 0;
    while (form.mnEditUndo->isEnabled()) {
      form.mnEditUndo->trigger();
      ++undone;
    }
    return undone;
  }

  int redoAll() {
    int redone = 0;
    while (form.mnEditRedo->isEnabled()) {
      form.mnEditRedo->trigger();
      ++redone;
    }
    return redone;
  }

  QTemporaryDir dir;
  int saves = 0;
  std::int64_t now = 0;
  TfrmMain form;
  TPenEditDlg penEdit{&form};
  TSetFuncDlg setFunc{form.FGraph, &penEdit, &form};
  TSetGraphDlg setGraph{form.FGraph, &form};
};

TEST_F(UndoTest, EveryKindOfContentIsUndoneAndRedoneToTheSameBytes) {
  const QByteArray before = saved();
  setFunc.show();
  setGraph.show();
  QApplication::processEvents();
  // Each edit, the steps it makes, and the caption of their undo.
  const struct {
    const char* name;
    std::function<void()> change;
    QString caption;
  } edits[] = {
      {"formula typed", [&] { QTest::keyClicks(setFunc.Edit1, QStringLiteral("sin(x)")); },
       QStringLiteral(u"関数の変更")},
      {"a second formula with a parameter",
       [&] { QTest::keyClicks(setFunc.Edit2, QStringLiteral("a*x")); },
       QStringLiteral(u"関数の変更")},
      {"pen",
       [&] {
         graph().FormulaPen(1).Width = 3;
         graph().CurvesChanged();
       },
       QStringLiteral(u"ペンの変更")},
      {"range typed",
       [&] {
         setGraph.EditXMax->setText(QStringLiteral("20"));
         QTest::keyClick(setGraph.EditXMax, Qt::Key_Return);
       },
       QStringLiteral(u"範囲の変更")},
      {"range by three wheel notches", [&] { turnWheel(3); }, QStringLiteral(u"範囲の変更")},
      {"margin", [&] { setGraph.SpinMLeft->setValue(37); }, QStringLiteral(u"余白の変更")},
      {"axis", [&] { setGraph.SpinYXDist->setValue(9); }, QStringLiteral(u"軸の変更")},
      {"brush",
       [&] {
         graph().setBackBrush({0x336699, BrushStyle::Solid});
       },
       QStringLiteral(u"背景の変更")},
      {"label added", [&] { form.mnSetAddLabel->trigger(); }, QStringLiteral(u"ラベルの追加")},
      {"label moved", [&] { graph().DragOver(graph().Label(1), QPoint(90, 70)); },
       QStringLiteral(u"ラベルの移動")},
      {"label edited",
       [&] {
         graph().Label(1)->setCaption(QStringLiteral(u"頂点"));
         graph().LabelChanged();
       },
       QStringLiteral(u"ラベルの編集")},
      {"label deleted", [&] { form.ImageTrashDragDrop(graph().Label(1)); },
       QStringLiteral(u"ラベルの削除")},
      {"parameter", [&] { graph().setParameterValue(0, 2.5); },
       QStringLiteral(u"パラメータの変更")},
      {"option", [&] { form.mnSetAutoRedraw->trigger(); }, QStringLiteral(u"オプションの変更")},
      {"legend shown", [&] { form.mnViewLegend->trigger(); }, QStringLiteral(u"凡例の変更")},
      {"legend dragged to another corner",
       [&] {
         const QPoint from = graph().LegendRect().center();
         QTest::mousePress(&graph(), Qt::LeftButton, {}, from);
         QTest::mouseMove(&graph(), from + QPoint(-200, 200));
         QTest::mouseRelease(&graph(), Qt::LeftButton, {}, from + QPoint(-200, 200));
       },
       QStringLiteral(u"凡例の変更")},
      {"a slot turned polar over its own t range",
       [&] {
         setFunc.KindBox(3)->activated(2);
         QTest::keyClicks(setFunc.Edit3, QStringLiteral("cos(3*t)"));
         setFunc.EditTMax(3)->selectAll();
         QTest::keyClicks(setFunc.EditTMax(3), QStringLiteral("pi"));
       },
       QStringLiteral(u"関数の変更")},
      {"formula removed", [&] { setFunc.Edit1->clear(); }, QStringLiteral(u"関数の変更")},
  };
  std::size_t steps = 0;
  for (const auto& step : edits) {
    SCOPED_TRACE(step.name);
    edit(step.change);
    EXPECT_EQ(form.UndoStack()->stepCount(), ++steps);
    EXPECT_EQ(form.mnEditUndo->text(), QStringLiteral(u"元に戻す: ") + step.caption);
  }
  const QByteArray after = saved();
  ASSERT_NE(after, before);

  EXPECT_EQ(undoAll(), static_cast<int>(steps));
  EXPECT_EQ(saved(), before);
  EXPECT_TRUE(setFunc.Edit1->text().isEmpty());
  EXPECT_EQ(setGraph.EditXMax->text(), QStringLiteral("3"));
  EXPECT_EQ(form.mnEditRedo->text(), QStringLiteral(u"やり直し: 関数の変更"));
  EXPECT_EQ(redoAll(), static_cast<int>(steps));
  EXPECT_EQ(saved(), after);
  EXPECT_EQ(form.UndoStack()->stepCount(), steps);
}

// The keystrokes of one field make one step until a pause of a second; the wheel's notches one
// step until a pause of half a second.
TEST_F(UndoTest, PausesEndAnEdit) {
  setFunc.show();
  QApplication::processEvents();
  QTest::keyClicks(setFunc.Edit1, QStringLiteral("x*"));
  now += 900;
  QTest::keyClicks(setFunc.Edit1, QStringLiteral("x"));
  QApplication::processEvents();
  EXPECT_EQ(form.UndoStack()->stepCount(), 1u);
  now += 1100;
  QTest::keyClicks(setFunc.Edit1, QStringLiteral("+1"));
  QApplication::processEvents();
  EXPECT_EQ(form.UndoStack()->stepCount(), 2u);

  turnWheel(4);
  EXPECT_EQ(form.UndoStack()->stepCount(), 3u);
  now += 600;
  turnWheel(1);
  EXPECT_EQ(form.UndoStack()->stepCount(), 4u);
}

TEST_F(UndoTest, UndoingToTheStateSavedMakesTheGraphUnchangedAndPastItChanged) {
  edit([&] { graph().setMarginLeft(30); });
  graph().setGraphName(dir.filePath(QStringLiteral("saved.kvx")));
  form.mnFileSave->trigger();
  edit([&] { graph().setMarginLeft(31); });
  EXPECT_TRUE(graph().IsChanged());
  form.mnEditUndo->trigger();
  EXPECT_FALSE(graph().IsChanged());
  form.mnEditUndo->trigger();
  EXPECT_TRUE(graph().IsChanged());
  form.mnEditRedo->trigger();
  EXPECT_FALSE(graph().IsChanged());
}

TEST_F(UndoTest, NewAndOpenClearTheHistory) {
  const QString name = dir.filePath(QStringLiteral("opened.kvx"));
  edit([&] { graph().setFormulaText(1, QStringLiteral("x")); });
  graph().setGraphName(name);
  graph().SaveToFile();
  edit([&] { graph().setMarginTop(40); });
  ASSERT_TRUE(form.mnEditUndo->isEnabled());
  form.OpenAtStart(name);
  EXPECT_FALSE(form.mnEditUndo->isEnabled());
  EXPECT_EQ(form.mnEditUndo->text(), QStringLiteral(u"元に戻す"));

  edit([&] { graph().setMarginTop(40); });
  form.mnEditUndo->trigger();
  ASSERT_TRUE(form.mnEditRedo->isEnabled());
  form.mnFileNew->trigger();
  EXPECT_FALSE(form.mnEditUndo->isEnabled());
  EXPECT_FALSE(form.mnEditRedo->isEnabled());
}

// A slider dragged from press to release is one step; a parameter that plays makes none.
TEST_F(UndoTest, ASliderDragIsOneStepAndPlayMakesNone) {
  edit([&] { graph().setFormulaText(1, QStringLiteral("a*x")); });
  form.mnSetParameter->trigger();
  auto* window = form.findChild<TParameterWindow*>();
  ASSERT_NE(window, nullptr);
  auto* slider = window->findChild<QSlider*>();
  ASSERT_NE(slider, nullptr);
  QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, QPoint(2, slider->height() / 2));
  for (int position : {100, 300, 700}) {
    now += 5000;
    slider->setValue(position);
    QApplication::processEvents();
  }
  QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(2, slider->height() / 2));
  EXPECT_EQ(form.UndoStack()->stepCount(), 2u);

  auto* play = window->findChild<QToolButton*>();
  ASSERT_NE(play, nullptr);
  play->click();
  QTest::qWait(200);
  play->click();
  EXPECT_EQ(form.UndoStack()->stepCount(), 2u);
}

// 初期表示 comes back to the view the graph was opened with, after a zoom and a pan; it and 等倍
// are a step each, and both redraw at once.
TEST_F(UndoTest, TheViewMenuReturnsToTheStartAndEachCommandIsOneStep) {
  const QString name = dir.filePath(QStringLiteral("view.kvx"));
  GraphModel opened = graph().Model();
  opened.range = {-2, 5, -1, 3};
  SaveGraphDocument(name, opened);
  form.OpenAtStart(name);
  turnWheel(2);
  edit([&] { graph().ShowRange(ViewNavigation(graph().Mapping()).panned(30, -20)); });
  ASSERT_NE(graph().Model().range, opened.range);

  edit([&] { form.mnViewStart->trigger(); });
  EXPECT_EQ(graph().Model().range, opened.range);
  EXPECT_FALSE(graph().CurvesStale());
  edit([&] { form.mnViewEqualScale->trigger(); });
  EXPECT_NEAR(static_cast<double>(graph().Mapping().xScale() / graph().Mapping().yScale()), 1,
              1e-12);
  EXPECT_EQ(form.UndoStack()->stepCount(), 4u);
  form.mnEditUndo->trigger();
  EXPECT_EQ(graph().Model().range, opened.range);
}

} // namespace
