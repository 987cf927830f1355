// The main window driven as a user drives it: file commands through their dialogs, the trash,
// the status bar, and errors that end in the error box.
#include "mainMain.h"

#include "DialogTestSupport.h"
#include "ErrorBox.h"
#include "FuncGraph.h"
#include "NumberFormat.h"
#include "PenEditDialog.h"
#include "SetFuncDialog.h"
#include "SetGraphDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
  MainWindowTest() {
    form.setWindows(nullptr, &setFunc, &setGraph);
    form.show();
    QApplication::processEvents();
  }

  QString path(const QString& name) const { return dir.filePath(name); }

  // Runs a command whose file dialog is answered with the name, or cancelled for none.
  void withFileDialog(const QString& name, const std::function<void()>& command) {
    const auto answering = answerNextModal<QFileDialog>([name](QFileDialog* dialog) {
      if (name.isEmpty()) {
        dialog->reject();
        return;
      }
      // Typed into the name field, as a user does (selectFile leaves a focused field alone).
      auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(field, nullptr);
      field->setText(name);
      QTest::keyClick(field, Qt::Key_Return);
    });
    command();
  }

  QString errorBoxOf(const std::function<void()>& command) {
    QString text;
    const auto answering = answerNextModal<QMessageBox>([&text](QMessageBox* box) {
      text = box->text();
      box->accept();
    });
    command();
    return text;
  }

  // Drags with the left button from a point of one widget to a point of another.
  static void drag(QWidget* from, QPoint start, QWidget* to, QPoint end) {
    QTest::mousePress(from, Qt::LeftButton, Qt::NoModifier, start);
    for (int step = 1; step <= 4; ++step) {
      const QPoint global =
          from->mapToGlobal(start) + (to->mapToGlobal(end) - from->mapToGlobal(start)) * step / 4;
      QMouseEvent move(QEvent::MouseMove, from->mapFromGlobal(global), global, Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(from, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, from->mapFromGlobal(to->mapToGlobal(end)),
                        to->mapToGlobal(end), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(from, &release);
  }

  QTemporaryDir dir;
  TfrmMain form;
  TPenEditDlg penEdit{&form};
  TSetFuncDlg setFunc{form.FGraph, &penEdit, &form};
  TSetGraphDlg setGraph{form.FGraph, &form};
};

TEST_F(MainWindowTest, SaveOfANewGraphAsksForANameAndCancelSavesNothing) {
  withFileDialog(QString(), [this] { form.mnFileSave->trigger(); });
  EXPECT_TRUE(form.FGraph->GraphName().isEmpty());
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(MainWindowTest, SaveAsWritesTheKvxFileAndSaveWritesItAgain) {
  withFileDialog(path(QStringLiteral("x.txt")), [this] { form.mnFileSaveAs->trigger(); });
  EXPECT_EQ(form.FGraph->GraphName(), path(QStringLiteral("x.txt")));
  EXPECT_TRUE(QFile::exists(path(QStringLiteral("x.kvx"))));
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.txt"))));

  ASSERT_TRUE(QFile::remove(path(QStringLiteral("x.kvx"))));
  form.FGraph->setMarginLeft(33);
  form.btnSave->click();
  QFile file(path(QStringLiteral("x.kvx")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("[Margin]\r\nLeft=33\r\n"));
}

TEST_F(MainWindowTest, SaveAsOffersTheGraphName) {
  form.FGraph->setGraphName(path(QStringLiteral("old.kvx")));
  QStringList offered;
  const auto answering = answerNextModal<QFileDialog>([&offered](QFileDialog* dialog) {
    offered = dialog->selectedFiles();
    dialog->reject();
  });
  form.mnFileSaveAs->trigger();
  EXPECT_EQ(offered, QStringList{path(QStringLiteral("old.kvx"))});
}

TEST_F(MainWindowTest, OpenLoadsAndNewResetsAndBothHideTheSettingWindows) {
  form.FGraph->setMarginTop(44);
  form.FGraph->setFormulaText(1, QStringLiteral("x"));
  form.FGraph->setGraphName(path(QStringLiteral("g.kvx")));
  form.FGraph->SaveToFile();
  QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(form.FGraph->MarginTop(), 10);
  EXPECT_TRUE(form.FGraph->GraphName().isEmpty());

  setGraph.show();
  setFunc.show();
  withFileDialog(path(QStringLiteral("g.kvx")), [this] { form.btnOpen->click(); });
  EXPECT_EQ(form.FGraph->MarginTop(), 44);
  EXPECT_EQ(form.FGraph->FormulaText(1), QStringLiteral("x"));
  EXPECT_FALSE(setGraph.isVisible());
  EXPECT_FALSE(setFunc.isVisible());
}

TEST_F(MainWindowTest, AnErrorInACommandShowsTheErrorBox) {
  form.FGraph->setGraphName(path(QStringLiteral("missing/a")));
  const QString text = errorBoxOf([this] { form.btnSave->click(); });
  EXPECT_EQ(text, path(QStringLiteral("missing/a.kvx")) + QStringLiteral(" に書き込めません."));
  // The program goes on: the next command works.
  form.FGraph->setGraphName(path(QStringLiteral("b")));
  form.mnFileSave->trigger();
  EXPECT_TRUE(QFile::exists(path(QStringLiteral("b.kvx"))));
}

TEST(ErrorBox, AddsAFinalPointOnlyAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(ErrorBoxText(QStringLiteral("a に書き込めません")),
            QStringLiteral("a に書き込めません."));
  EXPECT_EQ(ErrorBoxText(QStringLiteral("value 5")), QStringLiteral("value 5."));
  EXPECT_EQ(ErrorBoxText(QStringLiteral("done.")), QStringLiteral("done."));
  EXPECT_EQ(ErrorBoxText(QStringLiteral("(x)")), QStringLiteral("(x)"));
  EXPECT_EQ(ErrorBoxText(QStringLiteral("stop!")), QStringLiteral("stop!"));
  EXPECT_EQ(ErrorBoxText(QString()), QString());
}

TEST_F(MainWindowTest, TrashHidesADroppedLabelAndRefusesEverythingElse) {
  QTest::keyClick(&form, Qt::Key_A, Qt::ControlModifier);
  TGraphLabel* label = form.FGraph->Label(1);
  ASSERT_NE(label, nullptr);
  drag(label, QPoint(3, 3), form.ImageTrash, QPoint(12, 12));
  EXPECT_TRUE(label->isHidden());
  EXPECT_EQ(form.FGraph->Label(1), label); // kept in its slot until the next add

  QObject other;
  EXPECT_FALSE(form.ImageTrash->DragOver(&other, QPoint(1, 1)));
  EXPECT_FALSE(form.ImageTrash->DragOver(form.FGraph, QPoint(1, 1)));
  form.mnSetAddLabel->trigger();
  ASSERT_NE(form.FGraph->Label(1), nullptr);
  EXPECT_TRUE(form.ImageTrash->DragOver(form.FGraph->Label(1), QPoint(1, 1)));
  form.ImageTrash->DragDrop(form.FGraph, QPoint(1, 1));
  EXPECT_TRUE(form.FGraph->Label(1)->isVisible());
}

TEST_F(MainWindowTest, StatusBarShowsTheCoordinatesUnderTheMouse) {
  // One hundredth of a unit per pixel column puts a column on x = 0.5.
  form.FGraph->setXMin(0);
  form.FGraph->setXMax((form.FGraph->Mapping().plotRight() - form.FGraph->MarginLeft()) / 100.0L);
  form.FGraph->setYMin(0);
  form.FGraph->setYMax(2000);
  int column = -1;
  int row = -1;
  for (int c = 0; c < form.FGraph->width() && column < 0; ++c)
    if (formatGeneral(form.FGraph->PixelToX(c), 3) == QLatin1String("0.5")) column = c;
  for (int r = 0; r < form.FGraph->height() && row < 0; ++r)
    if (formatGeneral(form.FGraph->PixelToY(r), 3) == QLatin1String("1.23E3")) row = r;
  ASSERT_GE(column, 0);
  ASSERT_GE(row, 0);
  QMouseEvent move(QEvent::MouseMove, QPointF(column, row),
                   form.FGraph->mapToGlobal(QPointF(column, row)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(form.FGraph, &move);
  EXPECT_EQ(form.StatusPanels[0]->text(), QStringLiteral("(0.5,1.23E3)"));
}

TEST_F(MainWindowTest, StatusBarShowsTheCurveBeingDrawn) {
  for (int n = 1; n <= 4; ++n)
    form.FGraph->setFormulaText(n, QStringLiteral("x*%1").arg(n));
  form.FGraph->setFormulaText(2, QString());
  QStringList shown;
  const auto start = form.FGraph->OnDrawStart;
  form.FGraph->OnDrawStart = [&](TFuncGraph* graph, std::int32_t n) {
    start(graph, n);
    shown << form.StatusPanels[1]->text();
  };
  form.SpeedButton1->click();
  EXPECT_EQ(shown,
            (QStringList{QStringLiteral("1/5"), QStringLiteral("3/5"), QStringLiteral("4/5")}));
  EXPECT_TRUE(form.StatusPanels[1]->text().isEmpty());
}

} // namespace
