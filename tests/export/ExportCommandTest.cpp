// The export command of the main window, driven through its menu item and its save dialog, and
// the print command's preview.
#include "mainMain.h"

#include "../ModalAnswer.h"
#include "ErrorBox.h"
#include "FuncGraph.h"
#include "PenEditDialog.h"
#include "SetFuncDialog.h"
#include "SetGraphDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ExportCommandTest : public ::testing::Test {
protected:
  ExportCommandTest() {
    form.setWindows(nullptr, &setFunc, &setGraph);
    form.show();
    QApplication::processEvents();
  }

  QString path(const QString& name) const { return dir.filePath(name); }

  QByteArray contents(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  static QLineEdit* nameField(QFileDialog* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  }

  // Chooses the filter in the dialog's file type box as a user does.
  static void chooseFilter(QFileDialog* dialog, int index) {
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    types->setCurrentIndex(index);
    emit types->activated(index);
  }

  // Runs the export with its dialog answered: the filter chosen (-1 keeps it), the name typed
  // when one is given, and accepted; with neither, cancelled. The proposed name and filter
  // are kept.
  void exportWith(int filter, const QString& typed) {
    const auto answering = answerNextModal<QFileDialog>([&](QFileDialog* dialog) {
      proposed = nameField(dialog)->text();
      filters = dialog->nameFilters();
      if (filter < 0 && typed.isEmpty()) {
        dialog->reject();
        return;
      }
      if (filter >= 0) chooseFilter(dialog, filter);
      afterFilter = nameField(dialog)->text();
      if (!typed.isEmpty()) nameField(dialog)->setText(typed);
      QTest::keyClick(nameField(dialog), Qt::Key_Return);
    });
    form.mnFileExport->trigger();
  }

  QTemporaryDir dir;
  TfrmMain form;
  TPenEditDlg penEdit{&form};
  TSetFuncDlg setFunc{form.FGraph, &penEdit, &form};
  TSetGraphDlg setGraph{form.FGraph, &form};
  QString proposed;
  QString afterFilter;
  QStringList filters;
};

TEST_F(ExportCommandTest, ComesRightAfterSaveAsInTheFileMenu) {
  QMenu* file = form.menuBar()->actions().constFirst()->menu();
  ASSERT_NE(file, nullptr);
  const QList<QAction*> items = file->actions();
  const qsizetype saveAs = items.indexOf(form.mnFileSaveAs);
  ASSERT_GE(saveAs, 0);
  ASSERT_LT(saveAs + 1, items.size());
  EXPECT_EQ(items[saveAs + 1], form.mnFileExport);
  EXPECT_EQ(form.mnFileExport->text(), QStringLiteral(u"エクスポート..."));
}

TEST_F(ExportCommandTest, ProposesTheDocumentNameWithTheSuffixOfTheChosenFilter) {
  form.FGraph->setGraphName(path(QStringLiteral("doc.kvx")));
  form.FGraph->setFormulaText(1, QStringLiteral("x"));
  form.FGraph->DrawFunctions();
  exportWith(1, QString());
  EXPECT_EQ(filters,
            (QStringList{QStringLiteral(u"PNG 画像 (*.png)"), QStringLiteral(u"SVG 画像 (*.svg)"),
                         QStringLiteral(u"PDF 文書 (*.pdf)")}));
  EXPECT_EQ(proposed, QStringLiteral("doc.png"));
  EXPECT_EQ(afterFilter, QStringLiteral("doc.svg"));
  EXPECT_TRUE(contents(QStringLiteral("doc.svg")).startsWith("<?xml"));

  // The dialog keeps the filter: the next proposal has its suffix.
  exportWith(2, QStringLiteral("other"));
  EXPECT_EQ(proposed, QStringLiteral("doc.svg"));
  EXPECT_TRUE(contents(QStringLiteral("other.pdf")).startsWith("%PDF"));
  exportWith(0, QString());
  EXPECT_EQ(afterFilter, QStringLiteral("doc.png"));
  EXPECT_TRUE(contents(QStringLiteral("doc.png")).startsWith("\x89PNG"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
            (QStringList{QStringLiteral("doc.png"), QStringLiteral("doc.svg"),
                         QStringLiteral("other.pdf")}));
}

TEST_F(ExportCommandTest, CancelWritesNothing) {
  form.FGraph->setGraphName(path(QStringLiteral("doc")));
  exportWith(-1, QString());
  EXPECT_EQ(proposed, QStringLiteral("doc.png"));
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ExportCommandTest, AFailedWriteShowsTheErrorBox) {
  QString text;
  const auto box = answerNextModal<QMessageBox>([&text](QMessageBox* b) {
    text = b->text();
    b->accept();
  });
  const QString missing = path(QStringLiteral("missing/g.pdf"));
  exportWith(-1, missing);
  EXPECT_EQ(text, ErrorBoxText(missing + QStringLiteral(" に書き込めません")));
}

// With automatic redraw off the shown curves may be older than the axes; a file never gets them.
TEST_F(ExportCommandTest, StaleCurvesAreDrawnAgainBeforeTheFileIsWritten) {
  TFuncGraph& graph = *form.FGraph;
  form.mnSetAutoRedraw->trigger();
  graph.setFormulaText(1, QStringLiteral("x"));
  graph.DrawFunctions();
  graph.setXMax(9);
  ASSERT_TRUE(graph.CurvesStale());
  const QImage stale = graph.ClipboardPicture().convertToFormat(QImage::Format_RGB32);
  exportWith(0, path(QStringLiteral("stale.png")));
  EXPECT_FALSE(graph.CurvesStale());
  const QImage written =
      QImage(path(QStringLiteral("stale.png"))).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(written.isNull());
  EXPECT_EQ(written, graph.ClipboardPicture().convertToFormat(QImage::Format_RGB32));
  EXPECT_NE(written, stale);
}

// A page never gets them either; the preview shows the graph on one page.
TEST_F(ExportCommandTest, PrintPreviewsOnePageWithStaleCurvesDrawnAgain) {
  TFuncGraph& graph = *form.FGraph;
  form.mnSetAutoRedraw->trigger();
  graph.setFormulaText(1, QStringLiteral("x"));
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
