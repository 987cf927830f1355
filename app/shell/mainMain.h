// TfrmMain: the main window. It holds the graph and the engine binding, and every command of
// the program starts here: the menu bar, the toolbar with its trash for labels, and the status
// bar with the coordinates under the mouse and the drawing progress.
#pragma once

#include "Evalon.h"
#include "GraphLabel.h"
#include "GraphMapping.h"
#include "HelpWindow.h"
#include "Pictures.h"

#include <QLabel>
#include <QMainWindow>

#include <memory>

class QAction;
class QFileDialog;
class QFrame;
class QPrinter;
class QToolButton;
class TAboutBox;
class TAnalysisWindow;
class TFuncGraph;
class TSetFuncDlg;
class TSetGraphDlg;
class TParameterWindow;
class TUndoStack;
class TfrmMain;

// The trash image of the toolbar: it accepts only graph labels, and hides one dropped on it.
class TTrashImage : public QLabel, public TDragTarget {
  Q_OBJECT

public:
  explicit TTrashImage(TfrmMain* form, QWidget* parent);
  bool DragOver(QObject* source, QPoint pos) override;
  void DragDrop(QObject* source, QPoint pos) override;

private:
  TfrmMain* form;
};

class TfrmMain : public QMainWindow {
  Q_OBJECT

public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The windows created after the main window, which the commands show and hide.
  void setWindows(TAboutBox* about, TSetFuncDlg* setFunc, TSetGraphDlg* setGraph);

  TFuncGraph* FGraph;
  TEvalon* Evalon;
  QFrame* PanelTop;
  // Despite its name, the frame at the right end of the toolbar, with the trash and Redraw.
  QFrame* PanelTopLeft;
  QFrame* Panel1; // the frame of the graph
  TTrashImage* ImageTrash;
  QToolButton* btnNew;
  QToolButton* btnOpen;
  QToolButton* btnSave;
  QToolButton* btnCopy;
  QToolButton* btnSetGraph;
  QToolButton* btnSetFunction;
  QToolButton* SpeedButton1; // the Redraw button "再描画", whose handler is btnReDrawClick
  QLabel* StatusPanels[3];
  QAction* mnFileNew;
  QAction* mnFileOpen;
  QAction* mnFileSave;
  QAction* mnFileSaveAs;
  QAction* mnFileExport;
  QAction* mnFilePrint;
  QAction* mnFileExit;
  QAction* mnEditCopy;
  QAction* mnEditUndo;
  QAction* mnEditRedo;
  QAction* mnSetGraph;
  QAction* mnSetFunction;
  QAction* mnSetParameter;
  QAction* mnSetAddLabel;
  QAction* mnSetAutoRedraw;
  QAction* mnSetAnalysis;
  QAction* mnViewEqualScale;
  QAction* mnViewStart;
  QAction* mnViewLegend;
  QAction* mnHelpContents1;
  QAction* mnHelpSearchFor1;
  QAction* mnHelpHowtoUse1;
  QAction* mnHelpAbout;
  QFileDialog* OpenDialog;
  QFileDialog* SaveDialog;
  QFileDialog* ExportDialog;

  // The graph's undo history, which New and Open start again.
  TUndoStack* UndoStack() const { return undoStack; }
  // Opens the document named on the command line once the window shows: a file that cannot be
  // opened ends in the error box over the window and leaves the new graph.
  void OpenAtStart(const QString& name);

  bool ImageTrashDragOver(QObject* source) const;
  void ImageTrashDragDrop(QObject* source);

public slots:
  void mnFileNewClick();
  void mnFileOpenClick();
  void mnFileSaveClick();
  void mnFileSaveAsClick();
  void mnFileExportClick();
  void mnFilePrintClick();
  void mnFileExitClick();
  void mnEditCopyClick();
  void mnEditUndoClick();
  void mnEditRedoClick();
  void mnSetGraphClick();
  void mnSetFunctionClick();
  void mnSetParameterClick();
  void mnSetAddLabelClick();
  void mnSetAutoRedrawClick();
  void mnSetAnalysisClick();
  void mnViewEqualScaleClick();
  void mnViewStartClick();
  void mnViewLegendClick();
  void btnReDrawClick();
  void mnHelpContents1Click();
  void mnHelpSearchFor1Click();
  void mnHelpHowtoUse1Click();
  void mnHelpAboutClick();

protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void createActions();
  void createMenus();
  void createToolbar();
  void createGraph();
  void createStatusBar();
  void createFileDialogs();
  void createExportDialog();
  QToolButton* speedButton(QWidget* parent, const QRect& geometry, ShellPicture picture,
                           const QString& hint, QAction* command);
  void FormShow();
  void FGraphMouseMove(QPoint pos);
  void FGraphDrawStart(int number);
  void FGraphDrawEnd(int number);
  void hideSettingWindows();
  void showToolWindow(QWidget* window);
  void showAutoRedraw();
  void showLegend();
  bool mayDiscardGraph();
  // Loads the document of the graph name; a file refused leaves everything as it was.
  void openDocument(const QString& name);
  void showUndo();
  // The windows that show the graph show the state an undo or redo brought.
  void followUndo();
  // A new or opened graph starts the history and is the view 初期表示 comes back to.
  void startGraph();
  QString chooseFile(QFileDialog* dialog);
  bool mayWrite(const QString& graphName);
  void showHelp(THelpWindow::HelpCommand command);

  TAboutBox* AboutBox = nullptr;
  TSetFuncDlg* SetFuncDlg = nullptr;
  TSetGraphDlg* SetGraphDlg = nullptr;
  THelpWindow* helpWindow = nullptr;
  TAnalysisWindow* analysisWindow = nullptr; // made when first asked for
  // Made when first asked for.
  TParameterWindow* parameterWindow = nullptr;
  TUndoStack* undoStack = nullptr;
  GraphRange startRange; // the range of the graph when it was opened or made new
  // Made when first asked for, and kept: the page and printer chosen stay for the next print.
  std::unique_ptr<QPrinter> printer;
  bool engineRequested = false;
};
