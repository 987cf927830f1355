// The print command of the main window: its place and key, and its preview of the graph.
#include "mainMain.h"

#include "../ModalAnswer.h"
#include "FuncGraph.h"

#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

#include <gtest/gtest.h>

namespace {

TEST(PrintCommand, FollowsExportWithCtrlShiftPAndKeepsCtrlPForTheParameters) {
  TfrmMain form;
  const QList<QAction*> items = form.menuBar()->actions().constFirst()->menu()->actions();
  EXPECT_EQ(items.indexOf(form.mnFilePrint), items.indexOf(form.mnFileExport) + 1);
  EXPECT_EQ(form.mnFilePrint->text(), QStringLiteral(u"印刷..."));
  EXPECT_EQ(form.mnFilePrint->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  EXPECT_EQ(form.mnSetParameter->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
}

// With automatic redraw off the shown curves may be older than the axes; a page never gets them.
TEST(PrintCommand, PreviewsOnePageWithTheCurvesDrawnAgain) {
  TfrmMain form;
  form.show();
  TFuncGraph& graph = *form.FGraph;
  form.mnSetAutoRedraw->trigger();
  graph.setFormulaText(1, QStringLiteral("x"));
  graph.DrawFunctions();
  graph.setXMax(9);
  ASSERT_TRUE(graph.CurvesStale());
  int pages = 0;
  const auto preview = answerNextModal<QPrintPreviewDialog>([&pages](QPrintPreviewDialog* dialog) {
    pages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
    dialog->reject();
  });
  form.mnFilePrint->trigger();
  EXPECT_EQ(pages, 1);
  EXPECT_FALSE(graph.CurvesStale());
}

} // namespace
