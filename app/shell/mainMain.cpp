#include "mainMain.h"

#include "AnalysisWindow.h"
#include "CoordinatesText.h"
#include "DlgVersion.h"
#include "ErrorBox.h"
#include "FormFont.h"
#include "FuncGraph.h"
#include "GraphDocument.h"
#include "GraphExport.h"
#include "GraphPrint.h"
#include "GraphScene.h"
#include "HelpWindow.h"
#include "KurvoApplication.h"
#include "KurvoError.h"
#include "ParameterWindow.h"
#include "Pictures.h"
#include "SetFuncDialog.h"
#include "SetGraphDialog.h"
#include "UndoStack.h"
#include "ViewNavigation.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace {

constexpr int ToolbarHeight = 41;
constexpr int StatusBarHeight = 24;
// Below this the graph has no room for its margins and a curve.
constexpr int MinimumGraphHeight = 100;
const QString DocumentFilter = QStringLiteral(u"Kurvoのファイル(*.kvx)");

// The toolbar's speed buttons: squares in one row, with a picture a little smaller.
constexpr int ButtonTop = 8;
constexpr int ButtonSize = 25;
constexpr QSize ButtonIconSize(21, 21);
// The panel at the right end of the toolbar with the trash and the redraw button.
constexpr int RightPanelWidth = 129;
constexpr QRect TrashGeometry(8, 8, 25, 25);
constexpr QRect RedrawGeometry(45, 5, 76, 26);
constexpr QSize RedrawIconSize(18, 18);

// The status bar's panels: the coordinates under the mouse, the drawing progress, and one
// always empty. The coordinates panel grows to its longest text.
enum StatusPanel { CoordinatesPanel, ProgressPanel, SparePanel, StatusPanelCount };
constexpr int StatusPanelWidths[StatusPanelCount] = {80, 50, 50};

// The name field of one of our (Qt's own, not native) file dialogs.
QLineEdit* fileNameField(QFileDialog* dialog) {
  return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

} // namespace

TTrashImage::TTrashImage(TfrmMain* form, QWidget* parent) : QLabel(parent), form(form) {}

bool TTrashImage::DragOver(QObject* source, QPoint) {
  return form->ImageTrashDragOver(source);
}

void TTrashImage::DragDrop(QObject* source, QPoint) {
  form->ImageTrashDragDrop(source);
}

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(ApplicationTitle);
  setWindowIcon(shellIcon(ShellPicture::Program));
  setFont(formFont());
  Evalon = new TEvalon(this);
  createActions();
  createMenus();
  createGraph();
  createStatusBar();
  createFileDialogs();
  createExportDialog();
  // The graph starts at the size the document tools assume; the window is centred on it.
  Panel1->setMinimumSize(TFuncGraph::StartSize + QSize(2, 2) * Panel1->frameWidth());
  adjustSize();
  Panel1->setMinimumSize(0, MinimumGraphHeight);
  if (const QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

// The undo stack goes first: the focus moves while the children are destroyed, and a step it
// would record then would be shown on a window that is no longer whole.
TfrmMain::~TfrmMain() {
  delete std::exchange(undoStack, nullptr);
}

void TfrmMain::setWindows(TAboutBox* about, TSetFuncDlg* setFunc, TSetGraphDlg* setGraph) {
  AboutBox = about;
  SetFuncDlg = setFunc;
  SetGraphDlg = setGraph;
}

void TfrmMain::createActions() {
  const auto action = [this](const QString& caption, const QKeySequence& shortcut,
                             void (TfrmMain::*handler)()) {
    auto* command = new QAction(caption, this);
    command->setShortcut(shortcut);
    connect(command, &QAction::triggered, this,
            [this, handler] { RunCommand(this, [this, handler] { (this->*handler)(); }); });
    return command;
  };
  mnFileNew = action(QStringLiteral(u"新規グラフ"), QKeySequence(Qt::CTRL | Qt::Key_N),
                     &TfrmMain::mnFileNewClick);
  mnFileOpen = action(QStringLiteral(u"開く..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                      &TfrmMain::mnFileOpenClick);
  mnFileSave = action(QStringLiteral(u"上書き保存"), QKeySequence(Qt::CTRL | Qt::Key_S),
                      &TfrmMain::mnFileSaveClick);
  mnFileSaveAs =
      action(QStringLiteral(u"名前を付けて保存..."), QKeySequence(), &TfrmMain::mnFileSaveAsClick);
  mnFileExport =
      action(QStringLiteral(u"エクスポート..."), QKeySequence(), &TfrmMain::mnFileExportClick);
  // Ctrl+P is the parameters'.
  mnFilePrint = action(QStringLiteral(u"印刷..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                       &TfrmMain::mnFilePrintClick);
  mnFileExit = action(QStringLiteral(u"終了"), QKeySequence(Qt::CTRL | Qt::Key_Q),
                      &TfrmMain::mnFileExitClick);
  mnEditCopy = action(QStringLiteral(u"コピー"), QKeySequence(Qt::CTRL | Qt::Key_C),
                      &TfrmMain::mnEditCopyClick);
  mnEditUndo = action(QStringLiteral(u"元に戻す"), QKeySequence::Undo, &TfrmMain::mnEditUndoClick);
  mnEditRedo = action(QStringLiteral(u"やり直し"), QKeySequence(Qt::CTRL | Qt::Key_Y),
                      &TfrmMain::mnEditRedoClick);
  mnEditRedo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  mnSetGraph = action(QStringLiteral(u"グラフ設定..."), QKeySequence(Qt::CTRL | Qt::Key_G),
                      &TfrmMain::mnSetGraphClick);
  mnSetFunction = action(QStringLiteral(u"関数設定..."), QKeySequence(Qt::CTRL | Qt::Key_F),
                         &TfrmMain::mnSetFunctionClick);
  mnSetParameter = action(QStringLiteral(u"パラメータ..."), QKeySequence(Qt::CTRL | Qt::Key_P),
                          &TfrmMain::mnSetParameterClick);
  mnSetAddLabel = action(QStringLiteral(u"ラベル追加"), QKeySequence(Qt::CTRL | Qt::Key_A),
                         &TfrmMain::mnSetAddLabelClick);
  mnSetAutoRedraw =
      action(QStringLiteral(u"自動再描画"), QKeySequence(), &TfrmMain::mnSetAutoRedrawClick);
  mnSetAutoRedraw->setCheckable(true);
  mnSetAnalysis = action(QStringLiteral(u"解析..."), QKeySequence(Qt::CTRL | Qt::Key_R),
                         &TfrmMain::mnSetAnalysisClick);
  mnViewEqualScale =
      action(QStringLiteral(u"等倍"), QKeySequence(), &TfrmMain::mnViewEqualScaleClick);
  mnViewStart = action(QStringLiteral(u"初期表示"), QKeySequence(), &TfrmMain::mnViewStartClick);
  mnViewLegend = action(QStringLiteral(u"凡例"), QKeySequence(), &TfrmMain::mnViewLegendClick);
  mnViewLegend->setCheckable(true);
  mnHelpContents1 =
      action(QStringLiteral(u"目次"), QKeySequence(), &TfrmMain::mnHelpContents1Click);
  mnHelpSearchFor1 =
      action(QStringLiteral(u"ﾄﾋﾟｯｸの検索"), QKeySequence(), &TfrmMain::mnHelpSearchFor1Click);
  mnHelpHowtoUse1 =
      action(QStringLiteral(u"ﾍﾙﾌﾟの使い方"), QKeySequence(), &TfrmMain::mnHelpHowtoUse1Click);
  mnHelpAbout = action(QStringLiteral(u"ﾊﾞｰｼﾞｮﾝ情報"), QKeySequence(), &TfrmMain::mnHelpAboutClick);
}

void TfrmMain::createMenus() {
  QMenu* mnFile = menuBar()->addMenu(QStringLiteral(u"ﾌｧｲﾙ(&F)"));
  mnFile->addActions({mnFileNew, mnFileOpen, mnFileSave, mnFileSaveAs, mnFileExport, mnFilePrint});
  mnFile->addSeparator();
  mnFile->addAction(mnFileExit);
  menuBar()->addMenu(QStringLiteral(u"編集(&E)"))->addActions({mnEditCopy, mnEditUndo, mnEditRedo});
  QMenu* mnSet = menuBar()->addMenu(QStringLiteral(u"設定(&S)"));
  mnSet->addActions({mnSetGraph, mnSetFunction, mnSetParameter});
  mnSet->addSeparator();
  mnSet->addActions({mnSetAddLabel, mnSetAutoRedraw});
  mnSet->addSeparator();
  mnSet->addAction(mnSetAnalysis);
  QMenu* mnView = menuBar()->addMenu(QStringLiteral(u"表示(&V)"));
  mnView->addActions({mnViewEqualScale, mnViewStart});
  mnView->addSeparator();
  mnView->addAction(mnViewLegend);
  QMenu* mnHelp = menuBar()->addMenu(QStringLiteral(u"ﾍﾙﾌﾟ(&H)"));
  mnHelp->addActions({mnHelpContents1, mnHelpSearchFor1, mnHelpHowtoUse1});
  mnHelp->addSeparator();
  mnHelp->addAction(mnHelpAbout);
}

QToolButton* TfrmMain::speedButton(QWidget* parent, const QRect& geometry, ShellPicture picture,
                                   const QString& hint, QAction* command) {
  auto* button = new QToolButton(parent);
  button->setAutoRaise(true);
  button->setGeometry(geometry);
  button->setIcon(shellIcon(picture));
  button->setToolTip(hint);
  button->setIconSize(ButtonIconSize);
  if (command) connect(button, &QToolButton::clicked, command, &QAction::trigger);
  return button;
}

void TfrmMain::createToolbar() {
  PanelTop = new QFrame;
  PanelTop->setFixedHeight(ToolbarHeight);
  const auto button = [this](int left, ShellPicture picture, const QString& hint,
                             QAction* command) {
    return speedButton(PanelTop, {left, ButtonTop, ButtonSize, ButtonSize}, picture, hint, command);
  };
  btnNew = button(8, ShellPicture::New, QStringLiteral(u"新規"), mnFileNew);
  btnOpen = button(32, ShellPicture::Open, QStringLiteral(u"開く"), mnFileOpen);
  btnSave = button(56, ShellPicture::Save, QStringLiteral(u"保存"), mnFileSave);
  btnCopy = button(88, ShellPicture::Copy, QStringLiteral(u"画面コピー"), mnEditCopy);
  btnSetGraph = button(120, ShellPicture::SetGraph, QStringLiteral(u"グラフの設定"), mnSetGraph);
  btnSetFunction =
      button(144, ShellPicture::SetFunction, QStringLiteral(u"関数の設定"), mnSetFunction);

  // The trash and the redraw button stay at the right end of the toolbar; the toolbar is never
  // narrower than the buttons on its left and that panel side by side.
  PanelTopLeft = new QFrame(PanelTop);
  PanelTopLeft->setFixedSize(RightPanelWidth, ToolbarHeight);
  PanelTop->setMinimumWidth(btnSetFunction->geometry().right() + 1 + RightPanelWidth);
  auto* rightAligned = new QHBoxLayout(PanelTop);
  rightAligned->setContentsMargins(0, 0, 0, 0);
  rightAligned->addStretch();
  rightAligned->addWidget(PanelTopLeft);
  ImageTrash = new TTrashImage(this, PanelTopLeft);
  ImageTrash->setGeometry(TrashGeometry);
  ImageTrash->setScaledContents(true);
  ImageTrash->setPixmap(shellPicture(ShellPicture::Trash));
  ImageTrash->setToolTip(QStringLiteral(u"ラベルをここへドラッグすると削除します"));
  SpeedButton1 =
      speedButton(PanelTopLeft, RedrawGeometry, ShellPicture::Redraw, QString(), nullptr);
  SpeedButton1->setText(QStringLiteral(u"再描画"));
  SpeedButton1->setIconSize(RedrawIconSize);
  SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  connect(SpeedButton1, &QToolButton::clicked, this,
          [this] { RunCommand(this, [this] { btnReDrawClick(); }); });
}

void TfrmMain::createGraph() {
  createToolbar();
  Panel1 = new QFrame;
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  FGraph = new TFuncGraph(Panel1);
  FGraph->setEvalon(Evalon);
  FGraph->setMouseTracking(true);
  FGraph->installEventFilter(this);
  FGraph->OnDrawStart = [this](TFuncGraph*, std::int32_t n) { FGraphDrawStart(n); };
  FGraph->OnDrawEnd = [this](TFuncGraph*, std::int32_t n) { FGraphDrawEnd(n); };
  auto* graphLayout = new QVBoxLayout(Panel1);
  graphLayout->setContentsMargins(0, 0, 0, 0);
  graphLayout->addWidget(FGraph);
  // The curves always follow the axes: a new graph, and a document that does not say
  // otherwise, redraw automatically.
  FGraph->setAutoRedrawByDefault(true);
  FGraph->setAutoRedraw(true);
  FGraph->MarkUnchanged();
  showAutoRedraw();
  showLegend();
  undoStack = new TUndoStack(FGraph, this);
  undoStack->setPlaying([this] { return parameterWindow && parameterWindow->PlayingRow() >= 0; });
  connect(undoStack, &TUndoStack::changed, this, &TfrmMain::showUndo);
  connect(undoStack, &TUndoStack::restored, this, &TfrmMain::followUndo);
  startRange = FGraph->Model().range;
  showUndo();

  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(PanelTop);
  layout->addWidget(Panel1, 1);
  setCentralWidget(central);
}

void TfrmMain::createStatusBar() {
  statusBar()->setFixedHeight(StatusBarHeight);
  statusBar()->setSizeGripEnabled(true);
  for (int i = 0; i < StatusPanelCount; ++i) {
    StatusPanels[i] = new QLabel;
    StatusPanels[i]->setFixedWidth(StatusPanelWidths[i]);
    StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusPanels[i]->setAlignment(i == SparePanel ? Qt::AlignLeft | Qt::AlignVCenter
                                                  : Qt::AlignCenter);
    statusBar()->addWidget(StatusPanels[i]);
  }
  QLabel* coordinates = StatusPanels[CoordinatesPanel];
  const int frame = 2 * (coordinates->frameWidth() + coordinates->margin());
  coordinates->setFixedWidth(std::max(StatusPanelWidths[CoordinatesPanel],
                                      WidestCoordinatesText(coordinates->fontMetrics()) + frame));
}

void TfrmMain::createFileDialogs() {
  // Qt's own dialogs, so that they look and behave the same on every desktop.
  const auto dialog = [this](QFileDialog::AcceptMode mode) {
    auto* fileDialog = new QFileDialog(this);
    fileDialog->setOption(QFileDialog::DontUseNativeDialog);
    fileDialog->setAcceptMode(mode);
    fileDialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                            : QFileDialog::AnyFile);
    fileDialog->setNameFilter(DocumentFilter);
    fileDialog->setDefaultSuffix(QStringLiteral("kvx"));
    return fileDialog;
  };
  OpenDialog = dialog(QFileDialog::AcceptOpen);
  SaveDialog = dialog(QFileDialog::AcceptSave);
  // The dialog would ask about the chosen name, while the document written may be another.
  SaveDialog->setOption(QFileDialog::DontConfirmOverwrite);
}

// The name field comes selected, so that typing replaces the remembered name, and the name
// completion's popup leaves with the dialog. Empty when the user cancels.
QString TfrmMain::chooseFile(QFileDialog* dialog) {
  QLineEdit* field = fileNameField(dialog);
  if (field) field->selectAll();
  const bool chosen = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
  if (field && field->completer()) field->completer()->popup()->hide();
  return chosen ? dialog->selectedFiles().constFirst() : QString();
}

// Before a command discards a changed graph, the user may save it. False when the command
// stops: the user cancelled, or cancelled the save; a save that fails raises its error.
bool TfrmMain::mayDiscardGraph() {
  if (!FGraph->IsChanged()) return true;
  QMessageBox question(QMessageBox::Question, ApplicationTitle,
                       QStringLiteral(u"変更を保存しますか?"), QMessageBox::NoButton, this);
  QPushButton* save = question.addButton(QStringLiteral(u"保存する"), QMessageBox::AcceptRole);
  QPushButton* discard =
      question.addButton(QStringLiteral(u"保存しない"), QMessageBox::DestructiveRole);
  QPushButton* cancel = question.addButton(QStringLiteral(u"キャンセル"), QMessageBox::RejectRole);
  question.setDefaultButton(save);
  question.setEscapeButton(cancel);
  question.exec();
  if (question.clickedButton() == discard) return true;
  if (question.clickedButton() != save) return false;
  mnFileSaveClick();
  return !FGraph->IsChanged();
}

// Saving under the graph name writes its document file, so that is the file asked about.
bool TfrmMain::mayWrite(const QString& graphName) {
  const QFileInfo document(DocumentFileName(graphName));
  if (!document.exists()) return true;
  QMessageBox question(
      QMessageBox::Warning, ApplicationTitle,
      QStringLiteral(u"%1 は既に存在します。\n上書きしますか?").arg(document.fileName()),
      QMessageBox::NoButton, this);
  QPushButton* yes = question.addButton(QStringLiteral(u"はい(&Y)"), QMessageBox::YesRole);
  QPushButton* no = question.addButton(QStringLiteral(u"いいえ(&N)"), QMessageBox::NoRole);
  question.setDefaultButton(no);
  question.setEscapeButton(no);
  question.exec();
  return question.clickedButton() == yes;
}

// Closing the window discards the graph, so a changed one is offered for saving first.
void TfrmMain::closeEvent(QCloseEvent* event) {
  bool discard = false;
  RunCommand(this, [this, &discard] { discard = mayDiscardGraph(); });
  if (!discard) event->ignore();
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  FormShow();
}

// The engine is loaded when the window is first shown; without it the window still works and
// formulas simply draw nothing.
void TfrmMain::FormShow() {
  if (engineRequested) return;
  engineRequested = true;
  Evalon->LoadEngine();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FGraph) {
    switch (event->type()) {
    case QEvent::MouseMove:
      FGraphMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
      break;
    case QEvent::Leave:
      StatusPanels[CoordinatesPanel]->clear();
      break;
    case QEvent::ChildPolished:
      // A label tracks the mouse too and passes the moves on to the graph (a label ignores
      // them), so the coordinates follow the pointer over the labels.
      if (auto* label = qobject_cast<TGraphLabel*>(static_cast<QChildEvent*>(event)->child()))
        label->setMouseTracking(true);
      break;
    default:
      break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::FGraphMouseMove(QPoint pos) {
  StatusPanels[CoordinatesPanel]->setText(
      CoordinatesText(FGraph->PixelToX(pos.x()), FGraph->PixelToY(pos.y())));
}

void TfrmMain::FGraphDrawStart(int number) {
  StatusPanels[ProgressPanel]->setText(QStringLiteral("%1/5").arg(number));
}

void TfrmMain::FGraphDrawEnd(int) {
  StatusPanels[ProgressPanel]->clear();
}

void TfrmMain::hideSettingWindows() {
  if (SetGraphDlg) SetGraphDlg->hide();
  if (SetFuncDlg) SetFuncDlg->hide();
  if (analysisWindow) analysisWindow->hide();
}

void TfrmMain::mnFileNewClick() {
  if (!mayDiscardGraph()) return;
  hideSettingWindows();
  FGraph->ResetGraph();
  Evalon->SetConstants();
  FGraph->MarkUnchanged();
  startGraph();
  showAutoRedraw();
  showLegend();
  StatusPanels[CoordinatesPanel]->clear();
}

void TfrmMain::mnFileOpenClick() {
  if (!mayDiscardGraph()) return;
  const QString name = chooseFile(OpenDialog);
  if (name.isEmpty()) return;
  openDocument(name);
}

void TfrmMain::OpenAtStart(const QString& name) {
  RunCommand(this, [this, &name] { openDocument(name); });
}

// Loading reads the file of GraphName; a file it refuses leaves the graph, its name and the
// windows showing it as they were.
void TfrmMain::openDocument(const QString& name) {
  const QString previousName = FGraph->GraphName();
  FGraph->setGraphName(name);
  try {
    FGraph->LoadFromFile();
  } catch (...) {
    FGraph->setGraphName(previousName);
    throw;
  }
  hideSettingWindows();
  Evalon->SetConstants();
  startGraph();
  showAutoRedraw();
  showLegend();
  StatusPanels[CoordinatesPanel]->clear();
}

// What is typed after a save is a step of its own, so that undoing it comes back to the state
// saved.
void TfrmMain::mnFileSaveClick() {
  undoStack->seal();
  if (FGraph->GraphName().isEmpty())
    mnFileSaveAsClick();
  else
    FGraph->SaveToFile();
}

void TfrmMain::mnFileSaveAsClick() {
  undoStack->seal();
  // A new graph has no name to offer; the dialog would keep the last one typed.
  if (FGraph->GraphName().isEmpty()) {
    if (QLineEdit* field = fileNameField(SaveDialog)) field->clear();
  } else {
    SaveDialog->selectFile(FGraph->GraphName());
  }
  const QString name = chooseFile(SaveDialog);
  if (name.isEmpty() || !mayWrite(name)) return;
  FGraph->setGraphName(name);
  FGraph->SaveToFile();
}

void TfrmMain::mnFileExitClick() {
  close();
}

void TfrmMain::mnEditCopyClick() {
  FGraph->CopyToClipboard();
}

void TfrmMain::mnEditUndoClick() {
  undoStack->undo();
}

void TfrmMain::mnEditRedoClick() {
  undoStack->redo();
}

void TfrmMain::showUndo() {
  mnEditUndo->setText(undoStack->undoText());
  mnEditUndo->setEnabled(undoStack->canUndo());
  mnEditRedo->setText(undoStack->redoText());
  mnEditRedo->setEnabled(undoStack->canRedo());
}

void TfrmMain::startGraph() {
  undoStack->reset();
  startRange = FGraph->Model().range;
}

void TfrmMain::mnViewEqualScaleClick() {
  FGraph->ShowRange(ViewNavigation(FGraph->Mapping()).equalScale());
}

void TfrmMain::mnViewStartClick() {
  FGraph->ShowRange(startRange);
}

void TfrmMain::followUndo() {
  showAutoRedraw();
  showLegend();
  if (SetGraphDlg && SetGraphDlg->isVisible()) SetGraphDlg->FollowGraph();
  if (SetFuncDlg && SetFuncDlg->isVisible()) SetFuncDlg->FollowGraph();
}

// A tool window comes to the front with the keyboard, so that typing goes to it at once.
void TfrmMain::showToolWindow(QWidget* window) {
  if (!window) return;
  window->show();
  window->raise();
  window->activateWindow();
}

void TfrmMain::mnSetGraphClick() {
  showToolWindow(SetGraphDlg);
}

void TfrmMain::mnSetFunctionClick() {
  showToolWindow(SetFuncDlg);
}

void TfrmMain::mnSetParameterClick() {
  if (!parameterWindow) parameterWindow = new TParameterWindow(FGraph, this);
  showToolWindow(parameterWindow);
}

void TfrmMain::mnSetAddLabelClick() {
  FGraph->AddLabel(50, 50);
}

void TfrmMain::mnSetAutoRedrawClick() {
  FGraph->setAutoRedraw(mnSetAutoRedraw->isChecked());
}

void TfrmMain::mnSetAnalysisClick() {
  if (!analysisWindow) analysisWindow = new TAnalysisWindow(FGraph, this);
  showToolWindow(analysisWindow);
}

// The check mark shows the graph's own setting, which a new or opened graph brings along.
void TfrmMain::showAutoRedraw() {
  mnSetAutoRedraw->setChecked(FGraph->AutoRedraw());
}

void TfrmMain::mnViewLegendClick() {
  FGraph->setLegendVisible(mnViewLegend->isChecked());
}

// As the automatic redraw's, the check shows the graph's own setting.
void TfrmMain::showLegend() {
  mnViewLegend->setChecked(FGraph->Legend().visible);
}

void TfrmMain::btnReDrawClick() {
  FGraph->DrawFunctions();
}

bool TfrmMain::ImageTrashDragOver(QObject* source) const {
  return qobject_cast<TGraphLabel*>(source) != nullptr;
}

void TfrmMain::ImageTrashDragDrop(QObject* source) {
  auto* label = qobject_cast<TGraphLabel*>(source);
  if (!label) return;
  label->hide();
  FGraph->LabelChanged();
}

void TfrmMain::showHelp(THelpWindow::HelpCommand command) {
  if (!helpWindow) {
    const auto* application = qobject_cast<TKurvoApplication*>(QApplication::instance());
    helpWindow = new THelpWindow(application ? application->HelpFile() : QString(), this);
  }
  helpWindow->Command(command);
}

void TfrmMain::mnHelpContents1Click() {
  showHelp(THelpWindow::HelpContents);
}

void TfrmMain::mnHelpSearchFor1Click() {
  showHelp(THelpWindow::HelpFinder);
}

void TfrmMain::mnHelpHowtoUse1Click() {
  showHelp(THelpWindow::HelpHelpOnHelp);
}

void TfrmMain::mnHelpAboutClick() {
  if (AboutBox) AboutBox->exec();
}

// ---- Export ----

namespace {

// The export dialog's filters: each names a format and the suffix it gives the file name.
struct ExportFilter {
  const char16_t* text;
  const char* suffix;
  ExportFormat format;
};
constexpr std::array<ExportFilter, 3> ExportFilters{{
    {u"PNG 画像 (*.png)", "png", ExportFormat::Png},
    {u"SVG 画像 (*.svg)", "svg", ExportFormat::Svg},
    {u"PDF 文書 (*.pdf)", "pdf", ExportFormat::Pdf},
}};

const ExportFilter& exportFilter(const QString& text) {
  for (const ExportFilter& filter : ExportFilters)
    if (text == QString::fromUtf16(filter.text)) return filter;
  return ExportFilters.front();
}

// The name with the filter's suffix in place of one of the export suffixes, or added.
QString withExportSuffix(const QString& name, const ExportFilter& filter) {
  const QString suffix = QFileInfo(name).suffix();
  const QString base = exportFormatOf(name) ? name.left(name.size() - suffix.size() - 1) : name;
  return base + QLatin1Char('.') + QLatin1String(filter.suffix);
}

} // namespace

void TfrmMain::createExportDialog() {
  ExportDialog = new QFileDialog(this, QStringLiteral(u"エクスポート"));
  ExportDialog->setOption(QFileDialog::DontUseNativeDialog);
  ExportDialog->setAcceptMode(QFileDialog::AcceptSave);
  ExportDialog->setFileMode(QFileDialog::AnyFile);
  QStringList filters;
  for (const ExportFilter& filter : ExportFilters)
    filters << QString::fromUtf16(filter.text);
  ExportDialog->setNameFilters(filters);
  ExportDialog->setDefaultSuffix(QLatin1String(ExportFilters.front().suffix));
  // Another filter gives the name being typed and a name typed without suffix its suffix. The
  // dialog tells of the chosen filter only when it closes, so its file type box is watched.
  auto* types = ExportDialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  if (!types) return;
  connect(types, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    const ExportFilter& filter = exportFilter(text);
    ExportDialog->setDefaultSuffix(QLatin1String(filter.suffix));
    QLineEdit* field = fileNameField(ExportDialog);
    if (field && !field->text().isEmpty()) field->setText(withExportSuffix(field->text(), filter));
  });
}

// The proposed name is the document's with the chosen filter's suffix. A name typed with
// another export suffix is written in that format; any other name in the filter's.
void TfrmMain::mnFileExportClick() {
  const ExportFilter& filter = exportFilter(ExportDialog->selectedNameFilter());
  if (FGraph->GraphName().isEmpty()) {
    if (QLineEdit* field = fileNameField(ExportDialog)) field->clear();
  } else {
    const QFileInfo document(DocumentFileName(FGraph->GraphName()));
    ExportDialog->selectFile(document.dir().filePath(
        document.completeBaseName() + QLatin1Char('.') + QLatin1String(filter.suffix)));
  }
  const QString name = chooseFile(ExportDialog);
  if (name.isEmpty()) return;
  const ExportFilter& chosen = exportFilter(ExportDialog->selectedNameFilter());
  // A file never gets curves older than the axes they are drawn on (Copy gives what is shown).
  if (FGraph->CurvesStale()) FGraph->DrawFunctions();
  ExportGraph(*FGraph, name, exportFormatOf(name).value_or(chosen.format));
}

// ---- Print ----

// The preview shows the page as it will print; its print button leads on to the print dialog,
// or where no printer is set up, to the choice of a PDF file.
void TfrmMain::mnFilePrintClick() {
  // A page never gets curves older than the axes they are drawn on, as an export does not.
  if (FGraph->CurvesStale()) FGraph->DrawFunctions();
  const GraphScene scene = graphScene(*FGraph);
  if (!printer) printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setDocName(FGraph->GraphName().isEmpty()
                          ? QStringLiteral("Kurvo")
                          : QFileInfo(DocumentFileName(FGraph->GraphName())).completeBaseName());
  QPrintPreviewDialog preview(printer.get(), this);
  preview.setWindowTitle(QStringLiteral(u"印刷プレビュー"));
  bool failed = false;
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [&scene, &failed](QPrinter* target) { failed = !printGraph(scene, *target) || failed; });
  preview.exec();
  if (!failed) return;
  const QString file = printer->outputFileName();
  throw KurvoError(file.isEmpty() ? QStringLiteral(u"印刷できません")
                                  : QStringLiteral(u"%1 に書き込めません").arg(file));
}
