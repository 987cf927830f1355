#include "mainMain.h"

#include "DlgVersion.h"
#include "ErrorBox.h"
#include "FormFont.h"
#include "FuncGraph.h"
#include "HelpWindow.h"
#include "KurvoApplication.h"
#include "NumberFormat.h"
#include "Pictures.h"
#include "SetFuncDialog.h"
#include "SetGraphDialog.h"

#include <QAction>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int ToolbarHeight = 41;
constexpr int StatusBarHeight = 24;
const QSize StartGraphSize(336, 316);
const QString DocumentFilter = QStringLiteral(u"Kurvoのファイル(*.kvx)");

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
  // The graph starts at the size the document tools assume; the window is centred on it.
  Panel1->setMinimumSize(StartGraphSize + QSize(2, 2) * Panel1->frameWidth());
  adjustSize();
  Panel1->setMinimumSize(0, 0);
  if (const QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

TfrmMain::~TfrmMain() = default;

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
            [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
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
  mnFileExit = action(QStringLiteral(u"終了"), QKeySequence(Qt::CTRL | Qt::Key_Q),
                      &TfrmMain::mnFileExitClick);
  mnEditCopy = action(QStringLiteral(u"コピー"), QKeySequence(Qt::CTRL | Qt::Key_C),
                      &TfrmMain::mnEditCopyClick);
  mnSetGraph = action(QStringLiteral(u"グラフ設定..."), QKeySequence(Qt::CTRL | Qt::Key_G),
                      &TfrmMain::mnSetGraphClick);
  mnSetFunction = action(QStringLiteral(u"関数設定..."), QKeySequence(Qt::CTRL | Qt::Key_F),
                         &TfrmMain::mnSetFunctionClick);
  mnSetAddLabel = action(QStringLiteral(u"ラベル追加"), QKeySequence(Qt::CTRL | Qt::Key_A),
                         &TfrmMain::mnSetAddLabelClick);
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
  mnFile->addActions({mnFileNew, mnFileOpen, mnFileSave, mnFileSaveAs});
  mnFile->addSeparator();
  mnFile->addAction(mnFileExit);
  menuBar()->addMenu(QStringLiteral(u"編集(&E)"))->addAction(mnEditCopy);
  QMenu* mnSet = menuBar()->addMenu(QStringLiteral(u"設定(&S)"));
  mnSet->addActions({mnSetGraph, mnSetFunction});
  mnSet->addSeparator();
  mnSet->addAction(mnSetAddLabel);
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
  button->setIconSize(QSize(21, 21));
  if (command) connect(button, &QToolButton::clicked, command, &QAction::trigger);
  return button;
}

void TfrmMain::createToolbar() {
  PanelTop = new QFrame;
  PanelTop->setFixedHeight(ToolbarHeight);
  btnNew =
      speedButton(PanelTop, {8, 8, 25, 25}, ShellPicture::New, QStringLiteral(u"新規"), mnFileNew);
  btnOpen = speedButton(PanelTop, {32, 8, 25, 25}, ShellPicture::Open, QStringLiteral(u"開く"),
                        mnFileOpen);
  btnSave = speedButton(PanelTop, {56, 8, 25, 25}, ShellPicture::Save, QStringLiteral(u"保存"),
                        mnFileSave);
  btnCopy = speedButton(PanelTop, {88, 8, 25, 25}, ShellPicture::Copy,
                        QStringLiteral(u"画面コピー"), mnEditCopy);
  btnSetGraph = speedButton(PanelTop, {120, 8, 25, 25}, ShellPicture::SetGraph,
                            QStringLiteral(u"グラフの設定"), mnSetGraph);
  btnSetFunction = speedButton(PanelTop, {144, 8, 25, 25}, ShellPicture::SetFunction,
                               QStringLiteral(u"関数の設定"), mnSetFunction);

  // The trash and the redraw button stay at the right end of the toolbar.
  PanelTopLeft = new QFrame(PanelTop);
  PanelTopLeft->setFixedSize(129, ToolbarHeight);
  auto* rightAligned = new QHBoxLayout(PanelTop);
  rightAligned->setContentsMargins(0, 0, 0, 0);
  rightAligned->addStretch();
  rightAligned->addWidget(PanelTopLeft);
  ImageTrash = new TTrashImage(this, PanelTopLeft);
  ImageTrash->setGeometry(8, 8, 25, 25);
  ImageTrash->setScaledContents(true);
  ImageTrash->setPixmap(shellPicture(ShellPicture::Trash));
  ImageTrash->setToolTip(QStringLiteral(u"ラベルをここへドラッグすると削除します"));
  SpeedButton1 =
      speedButton(PanelTopLeft, {45, 5, 76, 26}, ShellPicture::Redraw, QString(), nullptr);
  SpeedButton1->setText(QStringLiteral(u"再描画"));
  SpeedButton1->setIconSize(QSize(18, 18));
  SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  connect(SpeedButton1, &QToolButton::clicked, this,
          [this] { RunCommand([this] { btnReDrawClick(); }); });
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
  const int widths[] = {80, 50, 50};
  for (int i = 0; i < 3; ++i) {
    StatusPanels[i] = new QLabel;
    StatusPanels[i]->setFixedWidth(widths[i]);
    StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusPanels[i]->setAlignment(i < 2 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    statusBar()->addWidget(StatusPanels[i]);
  }
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
  if (watched == FGraph && event->type() == QEvent::MouseMove)
    FGraphMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
  return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::FGraphMouseMove(QPoint pos) {
  StatusPanels[0]->setText(QStringLiteral("(%1,%2)").arg(
      formatGeneral(FGraph->PixelToX(pos.x()), 3), formatGeneral(FGraph->PixelToY(pos.y()), 3)));
}

void TfrmMain::FGraphDrawStart(int number) {
  StatusPanels[1]->setText(QStringLiteral("%1/5").arg(number));
}

void TfrmMain::FGraphDrawEnd(int) {
  StatusPanels[1]->clear();
}

void TfrmMain::hideSettingWindows() {
  if (SetGraphDlg) SetGraphDlg->hide();
  if (SetFuncDlg) SetFuncDlg->hide();
}

void TfrmMain::mnFileNewClick() {
  hideSettingWindows();
  FGraph->ResetGraph();
}

void TfrmMain::mnFileOpenClick() {
  if (OpenDialog->exec() != QDialog::Accepted || OpenDialog->selectedFiles().isEmpty()) return;
  hideSettingWindows();
  FGraph->setGraphName(OpenDialog->selectedFiles().constFirst());
  FGraph->LoadFromFile();
}

void TfrmMain::mnFileSaveClick() {
  if (FGraph->GraphName().isEmpty())
    mnFileSaveAsClick();
  else
    FGraph->SaveToFile();
}

void TfrmMain::mnFileSaveAsClick() {
  SaveDialog->selectFile(FGraph->GraphName());
  if (SaveDialog->exec() != QDialog::Accepted || SaveDialog->selectedFiles().isEmpty()) return;
  FGraph->setGraphName(SaveDialog->selectedFiles().constFirst());
  FGraph->SaveToFile();
}

void TfrmMain::mnFileExitClick() {
  close();
}

void TfrmMain::mnEditCopyClick() {
  FGraph->CopyToClipboard();
}

void TfrmMain::mnSetGraphClick() {
  if (SetGraphDlg) SetGraphDlg->show();
}

void TfrmMain::mnSetFunctionClick() {
  if (SetFuncDlg) SetFuncDlg->show();
}

void TfrmMain::mnSetAddLabelClick() {
  FGraph->AddLabel(50, 50);
}

void TfrmMain::btnReDrawClick() {
  FGraph->DrawFunctions();
}

bool TfrmMain::ImageTrashDragOver(QObject* source) const {
  return qobject_cast<TGraphLabel*>(source) != nullptr;
}

void TfrmMain::ImageTrashDragDrop(QObject* source) {
  if (auto* label = qobject_cast<TGraphLabel*>(source)) label->hide();
}

void TfrmMain::showHelp(int command) {
  if (!helpWindow) {
    const auto* application = qobject_cast<TKurvoApplication*>(QApplication::instance());
    helpWindow = new THelpWindow(application ? application->HelpFile() : QString(), this);
  }
  helpWindow->Command(command);
}

void TfrmMain::mnHelpContents1Click() {
  showHelp(3);
}

void TfrmMain::mnHelpSearchFor1Click() {
  showHelp(11);
}

void TfrmMain::mnHelpHowtoUse1Click() {
  showHelp(4);
}

void TfrmMain::mnHelpAboutClick() {
  if (AboutBox) AboutBox->exec();
}
