// The program's windows on a real X server with a window manager (see run-on-x11.sh): the
// caption every window gives the window manager, and the file dialog's name completion, whose
// popup is a window of its own.
#include "AnalysisWindow.h"
#include "DialogTestSupport.h"
#include "DlgVersion.h"
#include "ErrorBox.h"
#include "FuncGraph.h"
#include "HelpWindow.h"
#include "KurvoError.h"
#include "ParameterWindow.h"
#include "PenEditDialog.h"
#include "SetFuncDialog.h"
#include "SetGraphDialog.h"
#include "mainMain.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The output of an X client program, or empty when it fails.
QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(10000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The window's captions as the window manager reads them: _NET_WM_NAME and WM_NAME.
QStringList captions(const QWidget* window) {
  QApplication::processEvents();
  const QString id = QString::number(window->winId());
  const QString text =
      run(QStringLiteral("xprop"),
          {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_NAME"), QStringLiteral("WM_NAME")});
  QStringList found;
  static const QRegularExpression value(QStringLiteral("= \"(.*)\"$"),
                                        QRegularExpression::MultilineOption);
  for (auto match = value.globalMatch(text); match.hasNext();)
    found << match.next().captured(1);
  return found;
}

// Whether the X server shows the widget's window now.
bool viewable(const QWidget* window) {
  QApplication::processEvents();
  return run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window->winId())})
      .contains(QStringLiteral("IsViewable"));
}

// Lets events run until the condition holds or five seconds pass.
bool eventually(const std::function<bool()>& condition) {
  const QDeadlineTimer deadline(5000);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(20);
  }
  return true;
}

class WindowsOnX11 : public ::testing::Test {
protected:
  WindowsOnX11() {
    form.setWindows(&about, &setFunc, &setGraph);
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
  }

  // The captions of the next modal window of type W while the command runs it, and its title.
  template <class W>
  QStringList modalCaptions(const std::function<void()>& command, QString* title = nullptr) {
    QStringList found;
    const auto answering = answerNextModal<W>([&found, title](W* window) {
      found = captions(window);
      if (title) *title = window->windowTitle();
      window->reject();
    });
    command();
    return found;
  }

  TfrmMain form;
  TAboutBox about{&form};
  TPenEditDlg penEdit{&form};
  TSetFuncDlg setFunc{form.FGraph, &penEdit, &form};
  TSetGraphDlg setGraph{form.FGraph, &form};
};

const auto Only = [](const QString& caption) { return QStringList{caption, caption}; };

TEST_F(WindowsOnX11, EveryWindowShowsExactlyItsOwnCaption) {
  EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
  EXPECT_EQ(captions(&form), Only(QStringLiteral("Kurvo ver.3.2")));
  form.mnSetGraph->trigger();
  EXPECT_EQ(captions(&setGraph), Only(QStringLiteral(u"グラフの設定")));
  form.mnSetFunction->trigger();
  EXPECT_EQ(captions(&setFunc), Only(QStringLiteral(u"描画関数の設定")));

  TPen pen;
  EXPECT_EQ(modalCaptions<TPenEditDlg>([&] { penEdit.EditPen(pen); }),
            Only(QStringLiteral(u"ペン設定")));
  EXPECT_EQ(modalCaptions<TAboutBox>([this] { form.mnHelpAbout->trigger(); }),
            Only(QStringLiteral(u"ﾊﾞｰｼﾞｮﾝ情報")));
  EXPECT_EQ(modalCaptions<QMessageBox>(
                [this] { RunCommand(&form, [] { throw KurvoError(QStringLiteral("x")); }); }),
            Only(QStringLiteral("Kurvo ver.3.2")));
  form.FGraph->setMarginTop(44);
  EXPECT_EQ(modalCaptions<QMessageBox>([this] { form.mnFileNew->trigger(); }),
            Only(QStringLiteral("Kurvo ver.3.2")));
  form.FGraph->MarkUnchanged();
  QString openTitle;
  const QStringList openCaptions =
      modalCaptions<QFileDialog>([this] { form.mnFileOpen->trigger(); }, &openTitle);
  EXPECT_EQ(openCaptions, Only(openTitle));
  EXPECT_FALSE(openTitle.isEmpty());

  form.mnHelpContents1->trigger();
  const auto* help = form.findChild<THelpWindow*>();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(captions(help), Only(QStringLiteral(u"Kurvo ヘルプ")));
}

TEST_F(WindowsOnX11, TheToolWindowsAndTheExportDialogShowTheirOwnCaptions) {
  form.mnSetParameter->trigger();
  const auto* parameters = form.findChild<TParameterWindow*>();
  ASSERT_NE(parameters, nullptr);
  EXPECT_TRUE(eventually([parameters] { return viewable(parameters); }));
  EXPECT_EQ(captions(parameters), Only(QStringLiteral(u"パラメータ")));
  form.mnSetAnalysis->trigger();
  const auto* analysis = form.findChild<TAnalysisWindow*>();
  ASSERT_NE(analysis, nullptr);
  EXPECT_TRUE(eventually([analysis] { return viewable(analysis); }));
  EXPECT_EQ(captions(analysis), Only(QStringLiteral(u"解析")));
  EXPECT_EQ(modalCaptions<QFileDialog>([this] { form.mnFileExport->trigger(); }),
            Only(QStringLiteral(u"エクスポート")));
}

TEST_F(WindowsOnX11, OpenDialogSelectsTheNameAndTakesItsCompletionPopupAlong) {
  QTemporaryDir dir;
  for (const QString name : {QStringLiteral("aaa1.kvx"), QStringLiteral("aaa2.kvx")}) {
    form.FGraph->setGraphName(dir.filePath(name));
    form.FGraph->SaveToFile();
  }
  form.OpenDialog->setDirectory(dir.path());

  // The first Open takes a name typed into the field, which the dialog then remembers.
  QLineEdit* field = form.OpenDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(field, nullptr);
  {
    const auto answering = answerNextModal<QFileDialog>([field](QFileDialog*) {
      QTest::keyClicks(field, QStringLiteral("aaa1.kvx"));
      QTest::keyClick(field, Qt::Key_Return);
    });
    form.mnFileOpen->trigger();
  }
  ASSERT_EQ(form.FGraph->GraphName(), dir.filePath(QStringLiteral("aaa1.kvx")));

  QString offered;
  QString selected;
  bool popupShown = false;
  {
    const auto answering = answerNextModal<QFileDialog>([&](QFileDialog* dialog) {
      QTest::qWait(1000); // the dialog has read its folder
      offered = field->text();
      selected = field->selectedText();
      // Typing replaces the selected name and brings up the completion.
      QTest::keyClicks(field, QStringLiteral("aa"));
      popupShown = eventually([field] {
        return field->completer()->popup()->isVisible() && viewable(field->completer()->popup());
      });
      dialog->reject();
    });
    form.mnFileOpen->trigger();
  }
  EXPECT_FALSE(offered.isEmpty());
  EXPECT_EQ(selected, offered);
  ASSERT_TRUE(popupShown);
  QWidget* popup = field->completer()->popup();
  QTest::qWait(200);
  EXPECT_FALSE(popup->isVisible());
  EXPECT_FALSE(viewable(popup));
}

} // namespace
