// Kurvo: the program start. The application object, then the main window and the windows
// that live as long as it, in this order; the event loop runs until the main window closes.
// A document named on the command line (as a desktop passes it) opens in the window.
#include "DlgVersion.h"
#include "KurvoApplication.h"
#include "PenEditDialog.h"
#include "SetFuncDialog.h"
#include "SetGraphDialog.h"
#include "mainMain.h"

#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
  TKurvoApplication application(argc, argv);
  application.setHelpFile(
      ChooseHelpFile(QCoreApplication::applicationDirPath(), QStringLiteral(KURVO_HELP_FILE)));
  TfrmMain frmMain;
  auto* AboutBox = new TAboutBox(&frmMain);
  auto* PenEditDlg = new TPenEditDlg(&frmMain);
  auto* SetFuncDlg = new TSetFuncDlg(frmMain.FGraph, PenEditDlg, &frmMain);
  auto* SetGraphDlg = new TSetGraphDlg(frmMain.FGraph, &frmMain);
  frmMain.setWindows(AboutBox, SetFuncDlg, SetGraphDlg);
  frmMain.show();
  const StartArguments start = ReadStartArguments(QCoreApplication::arguments());
  if (!start.ignored.isEmpty())
    std::fprintf(stderr, "kurvo: 余分な引数を無視します: %s\n",
                 qUtf8Printable(start.ignored.join(QLatin1Char(' '))));
  // Once the window is on the screen, so that an error box stands over it.
  if (!start.document.isEmpty())
    QTimer::singleShot(0, &frmMain, [&frmMain, &start] { frmMain.OpenAtStart(start.document); });
  return application.exec();
}
