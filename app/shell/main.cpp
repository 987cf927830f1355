// Kurvo: the program start. The application object, then the main window and the windows
// that live as long as it, in this order; the event loop runs until the main window closes.
#include "DlgVersion.h"
#include "KurvoApplication.h"
#include "PenEditDialog.h"
#include "SetFuncDialog.h"
#include "SetGraphDialog.h"
#include "mainMain.h"

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
  return application.exec();
}
