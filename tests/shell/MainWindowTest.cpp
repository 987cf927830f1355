// The main window driven as a user drives it: file commands through their dialogs, the trash,
// the status bar, and errors that end in the error box.
#include "mainMain.h"

#include "CoordinatesText.h"
#include "DialogTestSupport.h"
#include "ErrorBox.h"
#include "FuncGraph.h"
#include "KurvoError.h"
#include "NumberFormat.h"
#include "PenEditDialog.h"
#include "SetFuncDialog.h"
#include "SetGraphDialog.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
  MainWindowTest() {
    form.setWindows(nullptr, &setFunc, &setGraph);
    form.show();
    QApplication::processEvents();
  }

  QString path(const QString& name) const { return dir.filePath(name); }

  static QLineEdit* nameField(QFileDialog* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  }

  QByteArray contents(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  void write(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  // Answers the message boxes that open while the returned watch lives, in turn, each with the
  // button of the next text (a box without it is closed); their texts go to asked.
  static std::unique_ptr<QTimer> answerBoxes(QStringList buttons, QStringList& asked) {
    auto poll = std::make_unique<QTimer>();
    QObject::connect(poll.get(), &QTimer::timeout, [buttons, &asked]() mutable {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible() || buttons.isEmpty()) return;
      asked << box->text();
      clickMessageButton(box, buttons.takeFirst());
    });
    poll->start(10);
    return poll;
  }

  // A graph changed since it was saved under the name.
  void changedGraph(const QString& name) {
    form.FGraph->setGraphName(path(name));
    form.FGraph->SaveToFile();
    form.FGraph->setMarginTop(44);
  }

  // Moves the pointer over the graph's pixel as the window system does, to whatever widget
  // lies there.
  void pointAt(QPoint pixel) {
    QTest::mouseMove(form.FGraph, pixel);
    QApplication::processEvents();
  }

  // Runs a command whose file dialog is answered with the name, or cancelled for none.
  void withFileDialog(const QString& name, const std::function<void()>& command) {
    const auto answering = answerNextModal<QFileDialog>([name](QFileDialog* dialog) {
      if (name.isEmpty()) {
        dialog->reject();
        return;
      }
      // Typed into the name field, as a user does (selectFile leaves a focused field alone).
      auto* field = nameField(dialog);
      ASSERT_NE(field, nullptr);
      field->setText(name);
      QTest::keyClick(field, Qt::Key_Return);
    });
    command();
  }

  // The text of the error box the command shows; the box's window is kept in errorBoxWindow.
  QString errorBoxOf(const std::function<void()>& command) {
    QString text;
    const auto answering = answerNextModal<QMessageBox>([this, &text](QMessageBox* box) {
      text = box->text();
      errorBoxWindow = box->parentWidget();
      box->accept();
    });
    command();
    return text;
  }

  static QSet<QWidget*> visibleToolWindows() {
    QSet<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible() && window->windowFlags().testFlag(Qt::Tool)) windows << window;
    return windows;
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
  QWidget* errorBoxWindow = nullptr;
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

TEST_F(MainWindowTest, SaveAsAsksAboutTheDocumentFileItWritesAndOnlyAboutIt) {
  write(QStringLiteral("x.kvx"), "kept");
  QString asked;
  const auto answer = [&asked](const QString& button) {
    return answerNextModal<QMessageBox>([&asked, button](QMessageBox* box) {
      asked = box->text();
      clickMessageButton(box, button);
    });
  };
  {
    const auto no = answer(QStringLiteral(u"いいえ(&N)"));
    withFileDialog(path(QStringLiteral("x.txt")), [this] { form.mnFileSaveAs->trigger(); });
  }
  EXPECT_EQ(asked, QStringLiteral(u"x.kvx は既に存在します。\n上書きしますか?"));
  EXPECT_EQ(contents(QStringLiteral("x.kvx")), "kept");
  EXPECT_TRUE(form.FGraph->GraphName().isEmpty());
  {
    const auto yes = answer(QStringLiteral(u"はい(&Y)"));
    withFileDialog(path(QStringLiteral("x.txt")), [this] { form.mnFileSaveAs->trigger(); });
  }
  EXPECT_TRUE(contents(QStringLiteral("x.kvx")).contains("[Margin]"));
  EXPECT_EQ(form.FGraph->GraphName(), path(QStringLiteral("x.txt")));

  // A file of the chosen name that is not written is no reason to ask.
  write(QStringLiteral("y.txt"), "other");
  asked.clear();
  {
    const auto watch = answer(QStringLiteral(u"いいえ(&N)"));
    withFileDialog(path(QStringLiteral("y.txt")), [this] { form.mnFileSaveAs->trigger(); });
  }
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_TRUE(contents(QStringLiteral("y.kvx")).contains("[Margin]"));
  EXPECT_EQ(contents(QStringLiteral("y.txt")), "other");
}

TEST_F(MainWindowTest, SaveAsOffersNoNameForANewGraph) {
  withFileDialog(path(QStringLiteral("a.kvx")), [this] { form.mnFileSaveAs->trigger(); });
  ASSERT_TRUE(QFile::exists(path(QStringLiteral("a.kvx"))));
  form.mnFileNew->trigger();
  QString offered = QStringLiteral("?");
  const auto answering = answerNextModal<QFileDialog>([&offered](QFileDialog* dialog) {
    offered = nameField(dialog)->text();
    dialog->reject();
  });
  form.mnFileSaveAs->trigger();
  EXPECT_EQ(offered, QString());
}

TEST_F(MainWindowTest, OpenDialogSelectsTheRememberedNameAndTakesItsCompletionAlong) {
  form.FGraph->setGraphName(path(QStringLiteral("g.kvx")));
  form.FGraph->SaveToFile();
  withFileDialog(path(QStringLiteral("g.kvx")), [this] { form.btnOpen->click(); });

  QString text;
  QString selected;
  QWidget* popup = nullptr;
  bool popupShown = false;
  const auto answering = answerNextModal<QFileDialog>([&](QFileDialog* dialog) {
    QLineEdit* field = nameField(dialog);
    text = field->text();
    selected = field->selectedText();
    popup = field->completer()->popup();
    popup->show();
    popupShown = popup->isVisible();
    dialog->reject();
  });
  form.btnOpen->click();
  EXPECT_FALSE(text.isEmpty());
  EXPECT_EQ(selected, text);
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popupShown);
  EXPECT_FALSE(popup->isVisible());
}

const QString SaveQuestion = QStringLiteral(u"変更を保存しますか?");
const QString SaveButton = QStringLiteral(u"保存する");
const QString DiscardButton = QStringLiteral(u"保存しない");
const QString CancelButton = QStringLiteral(u"キャンセル");

TEST_F(MainWindowTest, NewAsksBeforeDiscardingAChangedGraph) {
  QStringList asked;
  changedGraph(QStringLiteral("c.kvx"));
  {
    const auto answering = answerBoxes({CancelButton}, asked);
    form.mnFileNew->trigger();
  }
  EXPECT_EQ(asked, QStringList{SaveQuestion});
  EXPECT_EQ(form.FGraph->MarginTop(), 44);
  EXPECT_EQ(form.FGraph->GraphName(), path(QStringLiteral("c.kvx")));
  {
    const auto answering = answerBoxes({DiscardButton}, asked);
    form.btnNew->click();
  }
  EXPECT_EQ(form.FGraph->MarginTop(), 10);
  EXPECT_TRUE(form.FGraph->GraphName().isEmpty());
  EXPECT_FALSE(contents(QStringLiteral("c.kvx")).contains("Top=44"));

  // Saved, the changes are in the file before the graph goes.
  changedGraph(QStringLiteral("c.kvx"));
  {
    const auto answering = answerBoxes({SaveButton}, asked);
    form.mnFileNew->trigger();
  }
  EXPECT_TRUE(contents(QStringLiteral("c.kvx")).contains("Top=44"));
  EXPECT_EQ(form.FGraph->MarginTop(), 10);

  // The new graph and one just saved are unchanged: nothing to ask.
  asked.clear();
  {
    const auto answering = answerBoxes({CancelButton}, asked);
    form.mnFileNew->trigger();
    changedGraph(QStringLiteral("d.kvx"));
    form.FGraph->setMarginTop(10);
    form.FGraph->SaveToFile();
    form.mnFileNew->trigger();
  }
  EXPECT_TRUE(asked.isEmpty());
}

TEST_F(MainWindowTest, SavingANewGraphBeforeItGoesNeedsAName) {
  QStringList asked;
  form.FGraph->setMarginTop(44);
  {
    const auto answering = answerBoxes({SaveButton}, asked);
    withFileDialog(QString(), [this] { form.mnFileNew->trigger(); });
  }
  EXPECT_EQ(asked, QStringList{SaveQuestion});
  EXPECT_EQ(form.FGraph->MarginTop(), 44);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());

  {
    const auto answering = answerBoxes({SaveButton}, asked);
    withFileDialog(path(QStringLiteral("n.kvx")), [this] { form.mnFileNew->trigger(); });
  }
  EXPECT_TRUE(contents(QStringLiteral("n.kvx")).contains("Top=44"));
  EXPECT_EQ(form.FGraph->MarginTop(), 10);
}

TEST_F(MainWindowTest, AFailedSaveKeepsTheChangedGraph) {
  QStringList asked;
  form.FGraph->setGraphName(path(QStringLiteral("missing/e")));
  form.FGraph->setMarginTop(44);
  {
    const auto answering = answerBoxes({SaveButton, QString()}, asked);
    form.mnFileNew->trigger();
  }
  EXPECT_EQ(asked, (QStringList{SaveQuestion, path(QStringLiteral("missing/e.kvx")) +
                                                  QStringLiteral(" に書き込めません.")}));
  EXPECT_EQ(form.FGraph->MarginTop(), 44);
}

TEST_F(MainWindowTest, OpenAndClosingTheWindowAskBeforeDiscardingAChangedGraph) {
  QStringList asked;
  changedGraph(QStringLiteral("o.kvx"));
  {
    const auto answering = answerBoxes({CancelButton}, asked);
    form.mnFileOpen->trigger(); // no file dialog follows
  }
  EXPECT_EQ(form.FGraph->MarginTop(), 44);
  {
    const auto answering = answerBoxes({CancelButton, CancelButton}, asked);
    form.mnFileExit->trigger();
    EXPECT_TRUE(form.isVisible());
    form.close();
    EXPECT_TRUE(form.isVisible());
  }
  EXPECT_EQ(asked, QStringList(3, SaveQuestion));
  {
    const auto answering = answerBoxes({DiscardButton}, asked);
    withFileDialog(path(QStringLiteral("o.kvx")), [this] { form.btnOpen->click(); });
  }
  EXPECT_EQ(form.FGraph->MarginTop(), 10);
  {
    const auto answering = answerBoxes({CancelButton}, asked);
    form.close();
  }
  EXPECT_EQ(asked.size(), 4); // the graph just opened is not asked about
  EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindowTest, OpeningAFileThatIsNoDocumentKeepsTheGraphItsNameAndItsWindows) {
  form.FGraph->setGraphName(path(QStringLiteral("mine.kvx")));
  form.FGraph->setMarginTop(44);
  form.FGraph->SaveToFile();
  write(QStringLiteral("notes.kvx"), "just some notes\r\n");
  setGraph.show();
  setFunc.show();
  form.mnSetAnalysis->trigger();
  const QSet<QWidget*> shown = visibleToolWindows();
  ASSERT_EQ(shown.size(), 3);
  const QString text = errorBoxOf([this] {
    withFileDialog(path(QStringLiteral("notes.kvx")), [this] { form.mnFileOpen->trigger(); });
  });
  EXPECT_EQ(text, path(QStringLiteral("notes.kvx")) +
                      QStringLiteral(u" は Kurvo のファイルではありません."));
  EXPECT_EQ(form.FGraph->GraphName(), path(QStringLiteral("mine.kvx")));
  EXPECT_EQ(form.FGraph->MarginTop(), 44);
  EXPECT_FALSE(form.FGraph->IsChanged());
  EXPECT_EQ(visibleToolWindows(), shown);
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

// Whatever became of them, pi and e hold their values again in a new or opened graph.
TEST_F(MainWindowTest, NewAndOpenSetPiAndEAgain) {
  TEvalon& evalon = *form.Evalon;
  const auto value = [&evalon](const char* name) {
    bool failed = true;
    const double v = evalon.CalcValue(QString::fromLatin1(name), failed);
    return failed ? -1.0 : v;
  };
  EXPECT_EQ(value("pi"), 3.141592653589793);
  const auto spoil = [&evalon] {
    evalon.SetVariable(QStringLiteral("pi"), 3.0);
    evalon.SetVariable(QStringLiteral("e"), 2.0);
  };
  form.FGraph->setGraphName(path(QStringLiteral("g.kvx")));
  form.FGraph->SaveToFile();
  spoil();
  form.btnNew->click();
  EXPECT_EQ(value("pi"), 3.141592653589793);
  EXPECT_EQ(value("e"), 2.718281828459045);
  spoil();
  withFileDialog(path(QStringLiteral("g.kvx")), [this] { form.btnOpen->click(); });
  EXPECT_EQ(form.FGraph->GraphName(), path(QStringLiteral("g.kvx")));
  EXPECT_EQ(value("pi"), 3.141592653589793);
  EXPECT_EQ(value("e"), 2.718281828459045);
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

// A widget whose handler of user events fails with the given exception.
template <class Error> class FailingWidget : public QWidget {
public:
  using QWidget::QWidget;

protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw Error("slot 9");
    return QWidget::event(event);
  }
};

TEST_F(MainWindowTest, EveryErrorOfACommandIsShownOverTheWindowOfTheCommand) {
  setGraph.show();
  form.activateWindow();
  QApplication::processEvents();

  const auto fail = [](auto error) { return [error] { throw error; }; };
  EXPECT_EQ(errorBoxOf([&] { RunCommand(&setGraph, fail(std::out_of_range("slot 7"))); }),
            QStringLiteral("slot 7."));
  EXPECT_EQ(errorBoxWindow, &setGraph);
  EXPECT_EQ(errorBoxOf([&] { RunCommand(&setGraph, fail(std::bad_alloc())); }),
            QStringLiteral("メモリが不足しています."));
  EXPECT_EQ(errorBoxWindow, &setGraph);
  EXPECT_EQ(errorBoxOf([&] { RunCommand(&form, fail(KurvoError(QStringLiteral("a.kvx")))); }),
            QStringLiteral("a.kvx."));
  EXPECT_EQ(errorBoxWindow, &form);

  // An error escaping an event handler takes the same path, over the receiver's window.
  auto* failing = new FailingWidget<std::out_of_range>(&setGraph);
  QEvent event(QEvent::User);
  EXPECT_EQ(errorBoxOf([&] { QApplication::sendEvent(failing, &event); }),
            QStringLiteral("slot 9."));
  EXPECT_EQ(errorBoxWindow, &setGraph);
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

TEST_F(MainWindowTest, CoordinatesPanelShowsItsLongestTextsWhole) {
  const QLabel* panel = form.StatusPanels[0];
  const long double tiny = -std::numeric_limits<long double>::denorm_min();
  QStringList texts{QStringLiteral("(-0.554,-0.0897)"), QStringLiteral("(0.5,1.23E3)"),
                    CoordinatesText(tiny, tiny)};
  for (char digit = '0'; digit <= '9'; ++digit) {
    const QString d(QLatin1Char{digit});
    const QString scientific = QStringLiteral("-%1.%1%1E-%1%1%1%1").arg(d);
    const QString fixed = QStringLiteral("-0.000%1%1%1").arg(d);
    texts << QStringLiteral("(%1,%1)").arg(scientific) << QStringLiteral("(%1,%1)").arg(fixed);
  }
  for (const QString& text : texts)
    EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(text))
        << text.toStdString();
}

TEST_F(MainWindowTest, CoordinatesFollowThePointerOverLabelsAndGoWhenItLeavesOrTheGraphGoes) {
  const auto shown = [this] { return form.StatusPanels[0]->text(); };
  const auto at = [this](QPoint pixel) {
    return CoordinatesText(form.FGraph->PixelToX(pixel.x()), form.FGraph->PixelToY(pixel.y()));
  };
  form.mnSetAddLabel->trigger();
  const QRect label = form.FGraph->Label(1)->geometry();
  pointAt(QPoint(5, 5));
  EXPECT_EQ(shown(), at(QPoint(5, 5)));
  pointAt(label.center());
  EXPECT_EQ(shown(), at(label.center()));
  pointAt(label.center() + QPoint(1, 0));
  EXPECT_EQ(shown(), at(label.center() + QPoint(1, 0)));

  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(form.FGraph, &leave);
  EXPECT_TRUE(shown().isEmpty());

  pointAt(QPoint(5, 5));
  QStringList asked;
  {
    const auto answering = answerBoxes({DiscardButton}, asked); // the label is a change
    form.mnFileNew->trigger();
  }
  EXPECT_TRUE(shown().isEmpty());

  form.FGraph->setGraphName(path(QStringLiteral("g.kvx")));
  form.FGraph->SaveToFile();
  pointAt(QPoint(5, 5));
  withFileDialog(path(QStringLiteral("g.kvx")), [this] { form.mnFileOpen->trigger(); });
  EXPECT_TRUE(shown().isEmpty());
}

TEST_F(MainWindowTest, ANarrowWindowCoversNoToolbarButton) {
  form.resize(40, 40);
  QApplication::processEvents();
  const auto onForm = [this](const QWidget* widget) {
    return QRect(widget->mapTo(&form, QPoint(0, 0)), widget->size());
  };
  for (const QWidget* button : {form.btnNew, form.btnOpen, form.btnSave, form.btnCopy,
                                form.btnSetGraph, form.btnSetFunction}) {
    EXPECT_FALSE(onForm(button).intersects(onForm(form.ImageTrash)));
    EXPECT_FALSE(onForm(button).intersects(onForm(form.SpeedButton1)));
  }
  EXPECT_LE(onForm(form.SpeedButton1).right(), form.width());
  EXPECT_GT(form.FGraph->height(), 0);
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

// Lets the graph's pending work run: a redraw asked for runs once control is back in the loop.
void settle() {
  for (int i = 0; i < 3; ++i)
    QApplication::processEvents();
}

// The curve layer as it stands, and as the redraw button draws it now.
struct Curves {
  QImage shown;
  QImage redrawn;
};

Curves curvesOf(TFuncGraph& graph) {
  Curves curves;
  if (graph.CurveLayer()) curves.shown = *graph.CurveLayer();
  graph.DrawFunctions();
  curves.redrawn = *graph.CurveLayer();
  return curves;
}

bool holdsColour(const QImage& layer, QRgb colour) {
  for (int y = 0; y < layer.height(); ++y)
    for (int x = 0; x < layer.width(); ++x)
      if (layer.pixel(x, y) == colour) return true;
  return false;
}

constexpr QRgb CurveBlue = 0xFF0000FF;

TEST_F(MainWindowTest, CurvesFollowResizesAndRangeEditsOnlyWithAutomaticRedraw) {
  TFuncGraph& graph = *form.FGraph;
  form.mnSetAutoRedraw->trigger();
  ASSERT_FALSE(graph.AutoRedraw());
  graph.setFormulaText(1, QStringLiteral("x"));
  form.SpeedButton1->click();
  form.resize(form.size() + QSize(40, 30));
  settle();
  EXPECT_EQ(graph.CurveLayer(), nullptr);
  graph.setXMax(6);
  settle();
  EXPECT_EQ(graph.CurveLayer(), nullptr);
  form.SpeedButton1->click();
  graph.setXMax(9);
  settle();
  Curves stale = curvesOf(graph);
  EXPECT_NE(stale.shown, stale.redrawn);

  form.mnSetAutoRedraw->trigger();
  EXPECT_TRUE(graph.AutoRedraw());
  form.resize(form.size() - QSize(40, 30));
  settle();
  ASSERT_NE(graph.CurveLayer(), nullptr);
  EXPECT_EQ(graph.CurveLayer()->size(), graph.size());
  EXPECT_TRUE(holdsColour(*graph.CurveLayer(), CurveBlue));
  graph.setXMax(3);
  graph.setMarginLeft(30);
  settle();
  const Curves fresh = curvesOf(graph);
  EXPECT_EQ(fresh.shown, fresh.redrawn);
  EXPECT_TRUE(holdsColour(fresh.shown, CurveBlue));
}

// The window as it opens: a formula typed, a range changed and a resize each leave curves that
// match their axes, without the redraw button.
TEST_F(MainWindowTest, TheCurvesOfANewWindowAlwaysMatchTheirAxes) {
  TFuncGraph& graph = *form.FGraph;
  const std::vector<std::function<void()>> changes = {
      [&] { graph.setFormulaText(1, QStringLiteral("x")); },
      [&] { graph.setFormulaText(1, QStringLiteral("x*x-1")); },
      [&] { graph.setYMax(8); },
      [&] { form.resize(form.size() + QSize(50, 20)); },
  };
  for (std::size_t n = 0; n < changes.size(); ++n) {
    changes[n]();
    settle();
    const Curves now = curvesOf(graph);
    EXPECT_EQ(now.shown, now.redrawn) << "change " << n;
    EXPECT_TRUE(holdsColour(now.shown, CurveBlue)) << "change " << n;
  }
}

TEST_F(MainWindowTest, AutomaticRedrawDrawsOnceForTheChangesOfOneEventAndNeverInsideADrawing) {
  TFuncGraph& graph = *form.FGraph;
  graph.setFormulaText(1, QStringLiteral("x"));
  ASSERT_TRUE(graph.AutoRedraw());
  settle();
  int draws = 0;
  int depth = 0;
  int deepest = 0;
  bool changeWhileDrawing = false;
  graph.OnDrawStart = [&](TFuncGraph* g, std::int32_t) {
    ++draws;
    deepest = std::max(deepest, ++depth);
    if (std::exchange(changeWhileDrawing, false)) g->setYMax(5);
  };
  graph.OnDrawEnd = [&](TFuncGraph*, std::int32_t) { --depth; };
  graph.setXMin(-4);
  graph.setXMax(4);
  graph.setYMin(-4);
  graph.setYMax(4);
  graph.setMarginTop(12);
  settle();
  EXPECT_EQ(draws, 1);
  graph.setFormulaText(1, QStringLiteral("x")); // the text it holds: no change
  settle();
  EXPECT_EQ(draws, 1);

  // A change while the curves are drawn gets one redraw after that drawing, not one inside it.
  draws = 0;
  changeWhileDrawing = true;
  graph.setYMax(6);
  settle();
  EXPECT_EQ(draws, 2);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(graph.YMax(), 5);
}

TEST_F(MainWindowTest, CtrlROpensTheAnalysisWindowAndNewHidesIt) {
  EXPECT_EQ(form.mnSetAnalysis->text(), QStringLiteral(u"解析..."));
  QTest::keyClick(&form, Qt::Key_R, Qt::ControlModifier);
  QWidget* analysis = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window->windowTitle() == QStringLiteral(u"解析")) analysis = window;
  ASSERT_NE(analysis, nullptr);
  EXPECT_TRUE(analysis->windowFlags().testFlag(Qt::Tool));
  QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
  EXPECT_FALSE(analysis->isVisible());
}

// The window starts with automatic redraw on, so that the curves always match their axes; a
// graph that keeps it saves no option, one that turns it off saves that.
TEST_F(MainWindowTest, AutomaticRedrawEndsTheSettingsMenuStartsOnAndFollowsNewAndOpen) {
  QMenu* settings = nullptr;
  for (QAction* menu : form.menuBar()->actions())
    if (menu->text() == QStringLiteral(u"設定(&S)")) settings = menu->menu();
  ASSERT_NE(settings, nullptr);
  // The last of the menu's own items; the analysis window's item follows it.
  const QList<QAction*> items = settings->actions();
  EXPECT_EQ(items.constLast(), form.mnSetAnalysis);
  EXPECT_EQ(items.lastIndexOf(form.mnSetAutoRedraw), items.size() - 3); // then a separator
  EXPECT_EQ(form.mnSetAutoRedraw->text(), QStringLiteral(u"自動再描画"));
  EXPECT_TRUE(form.mnSetAutoRedraw->isCheckable());
  EXPECT_TRUE(form.mnSetAutoRedraw->isChecked());
  EXPECT_TRUE(form.FGraph->AutoRedraw());
  EXPECT_FALSE(form.FGraph->IsChanged());
  form.FGraph->setGraphName(path(QStringLiteral("plain.kvx")));
  form.FGraph->SaveToFile();
  EXPECT_FALSE(contents(QStringLiteral("plain.kvx")).contains("[Options]"));

  form.mnSetAutoRedraw->trigger();
  EXPECT_FALSE(form.FGraph->AutoRedraw());
  EXPECT_TRUE(form.FGraph->IsChanged());
  form.FGraph->setGraphName(path(QStringLiteral("g.kvx")));
  form.FGraph->SaveToFile();
  EXPECT_TRUE(contents(QStringLiteral("g.kvx")).endsWith("[Options]\r\nAutoRedraw=0\r\n"));
  QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
  EXPECT_TRUE(form.FGraph->AutoRedraw());
  EXPECT_TRUE(form.mnSetAutoRedraw->isChecked());

  withFileDialog(path(QStringLiteral("g.kvx")), [this] { form.btnOpen->click(); });
  EXPECT_FALSE(form.FGraph->AutoRedraw());
  EXPECT_FALSE(form.mnSetAutoRedraw->isChecked());
  withFileDialog(path(QStringLiteral("plain.kvx")), [this] { form.btnOpen->click(); });
  EXPECT_TRUE(form.FGraph->AutoRedraw());
}

// The legend's check in the view menu shows the graph's own legend, which a new graph, an opened
// one and an undo bring along; an undone state shows its legend (an f1 is needed for a box).
TEST_F(MainWindowTest, TheLegendCheckFollowsNewOpenAndUndo) {
  form.FGraph->setFormulaText(1, QStringLiteral("x"));
  form.mnViewLegend->trigger();
  ASSERT_TRUE(form.FGraph->Legend().visible);
  form.FGraph->setGraphName(path(QStringLiteral("legend.kvx")));
  form.FGraph->SaveToFile();
  QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
  EXPECT_FALSE(form.mnViewLegend->isChecked());
  withFileDialog(path(QStringLiteral("legend.kvx")), [this] { form.btnOpen->click(); });
  EXPECT_TRUE(form.mnViewLegend->isChecked());
  form.mnViewLegend->trigger();
  QApplication::processEvents();
  form.mnEditUndo->trigger();
  EXPECT_FALSE(form.FGraph->LegendRect().isEmpty());
  EXPECT_TRUE(form.mnViewLegend->isChecked());
}

// Typing right after a command that opens a tool window goes to that window.
TEST_F(MainWindowTest, EveryToolWindowOpensActive) {
  const std::pair<QAction*, QString> commands[] = {
      {form.mnSetGraph, QStringLiteral(u"グラフの設定")},
      {form.mnSetFunction, QStringLiteral(u"描画関数の設定")},
      {form.mnSetParameter, QStringLiteral(u"パラメータ")},
      {form.mnSetAnalysis, QStringLiteral(u"解析")}};
  for (const auto& [command, title] : commands) {
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &form; }, 1000));
    command->trigger();
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() != &form; }, 1000));
    QWidget* active = QApplication::activeWindow();
    EXPECT_EQ(active ? active->windowTitle() : QString(), title);
  }
  EXPECT_EQ(setFunc.focusWidget(), setFunc.Edit1);
}

// The main window's keys belong to it: in a field of a settings window, Ctrl+A selects the
// field's text and Ctrl+C copies it.
TEST_F(MainWindowTest, TextFieldsOfToolWindowsKeepTheirStandardKeys) {
  form.mnSetGraph->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&setGraph));
  QLineEdit* field = setGraph.EditXMin;
  field->setFocus();
  field->deselect();
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(field->selectedText(), field->text());
  EXPECT_FALSE(field->text().isEmpty());
  for (int slot = 1; slot <= TFuncGraph::LabelCount; ++slot)
    EXPECT_EQ(form.FGraph->Label(slot), nullptr) << slot;
  QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), field->text());
}

// A document named on the command line opens with its curves drawn, also without its
// extension; a file that is missing or no document ends in the error box over the window and
// leaves the new graph.
TEST_F(MainWindowTest, TheDocumentOfTheCommandLineOpensAtStart) {
  write(QStringLiteral("start.kvx"), "[Function]\r\nFunc01Formula=x\r\n");
  write(QStringLiteral("text.kvx"), "no document here\n");
  form.OpenAtStart(path(QStringLiteral("start")));
  EXPECT_EQ(form.FGraph->FormulaText(1), QStringLiteral("x"));
  EXPECT_EQ(form.FGraph->GraphName(), path(QStringLiteral("start")));
  EXPECT_FALSE(form.FGraph->CurvesStale());
  EXPECT_FALSE(form.FGraph->IsChanged());

  for (const char* name : {"missing.kvx", "text.kvx"}) {
    SCOPED_TRACE(name);
    TfrmMain fresh;
    fresh.show();
    QApplication::processEvents();
    QWidget* boxWindow = nullptr;
    const auto answering = answerNextModal<QMessageBox>([&boxWindow](QMessageBox* box) {
      boxWindow = box->parentWidget();
      box->accept();
    });
    fresh.OpenAtStart(path(QLatin1String(name)));
    EXPECT_EQ(boxWindow, &fresh);
    EXPECT_TRUE(fresh.FGraph->GraphName().isEmpty());
    EXPECT_TRUE(fresh.FGraph->FormulaText(1).isEmpty());
  }
}

// The program itself: arguments after the document are named on standard error and ignored.
TEST_F(MainWindowTest, TheProgramIgnoresArgumentsAfterTheDocument) {
  write(QStringLiteral("start.kvx"), "[Function]\r\nFunc01Formula=x\r\n");
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(KURVO_PROGRAM),
                {path(QStringLiteral("start.kvx")), QStringLiteral("b.kvx"), QStringLiteral("-c")});
  ASSERT_TRUE(program.waitForStarted(10000));
  const QByteArray line = QStringLiteral(u"kurvo: 余分な引数を無視します: b.kvx -c\n").toUtf8();
  QByteArray errors;
  for (int wait = 0; wait < 100 && !errors.contains(line); ++wait) {
    program.waitForReadyRead(100);
    errors += program.readAllStandardError();
  }
  program.kill();
  program.waitForFinished(10000);
  EXPECT_TRUE(errors.contains(line)) << errors.toStdString();
}

} // namespace
