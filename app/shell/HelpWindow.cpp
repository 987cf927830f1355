#include "HelpWindow.h"

#include "FormFont.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

// The help document's section that explains this window; the help-on-help command shows it.
const QString HelpOnHelpAnchor = QStringLiteral("helponhelp");

constexpr QSize StartSize(760, 540);
constexpr int FinderWidth = 240;
constexpr int BrowserWidth = StartSize.width() - FinderWidth;
constexpr int WindowMargin = 4;
// The help text is read at length, so it is larger than the forms' 12 pixels.
constexpr int TextPixelSize = 14;

QString firstAnchor(const QTextBlock& block) {
  for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
    const QStringList names = fragment.fragment().charFormat().anchorNames();
    if (!names.isEmpty()) return names.first();
  }
  return {};
}

// Every heading of the document that carries an anchor, with its section's text.
QList<HelpTopic> readTopics(const QTextDocument& document) {
  QList<HelpTopic> topics;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    const QString anchor = level > 0 ? firstAnchor(block) : QString();
    if (!anchor.isEmpty()) {
      topics.append({block.text().simplified(), anchor, level, block.position(), {}});
    } else if (!topics.isEmpty()) {
      topics.last().text += block.text() + QLatin1Char('\n');
    }
  }
  return topics;
}

bool matches(const HelpTopic& topic, const QString& query) {
  return topic.title.contains(query, Qt::CaseInsensitive) ||
         topic.text.contains(query, Qt::CaseInsensitive);
}

} // namespace

THelpWindow::THelpWindow(const QString& helpFile, QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Kurvo ヘルプ"));
  setFont(formFont());
  resize(StartSize);
  buildWindow();
  loadDocument(helpFile);
}

void THelpWindow::buildWindow() {
  btnContents = new QPushButton(QStringLiteral("目次"));
  btnBack = new QPushButton(QStringLiteral("戻る"));
  btnBack->setEnabled(false);
  SearchEdit = new QLineEdit;
  SearchEdit->setPlaceholderText(QStringLiteral("検索する語を入力"));
  SearchEdit->setClearButtonEnabled(true);
  TopicList = new QListWidget;

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnContents);
  buttons->addWidget(btnBack);
  auto* finder = new QWidget;
  auto* finderLayout = new QVBoxLayout(finder);
  finderLayout->setContentsMargins(0, 0, 0, 0);
  finderLayout->addLayout(buttons);
  finderLayout->addWidget(SearchEdit);
  finderLayout->addWidget(TopicList);

  Browser = new QTextBrowser;
  Browser->setOpenExternalLinks(false);
  QFont text = font();
  text.setPixelSize(TextPixelSize);
  Browser->setFont(text);

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->addWidget(finder);
  splitter->addWidget(Browser);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({FinderWidth, BrowserWidth});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(WindowMargin, WindowMargin, WindowMargin, WindowMargin);
  layout->addWidget(splitter);

  connect(btnContents, &QPushButton::clicked, this, &THelpWindow::showContents);
  connect(btnBack, &QPushButton::clicked, Browser, &QTextBrowser::backward);
  connect(Browser, &QTextBrowser::backwardAvailable, btnBack, &QPushButton::setEnabled);
  connect(SearchEdit, &QLineEdit::textChanged, this, &THelpWindow::filterTopics);
  connect(SearchEdit, &QLineEdit::returnPressed, this, [this] {
    for (int i = 0; i < TopicList->count(); ++i) {
      if (!TopicList->item(i)->isHidden()) return topicChosen(TopicList->item(i));
    }
  });
  connect(TopicList, &QListWidget::itemClicked, this, &THelpWindow::topicChosen);
  connect(TopicList, &QListWidget::itemActivated, this, &THelpWindow::topicChosen);
}

void THelpWindow::loadDocument(const QString& helpFile) {
  QFile file(helpFile);
  if (!file.open(QIODevice::ReadOnly)) {
    Browser->setHtml(QStringLiteral("<h2>ヘルプファイルを開けません</h2><p>%1</p><p>%2</p>")
                         .arg(helpFile.toHtmlEscaped(), file.errorString().toHtmlEscaped()));
    SearchEdit->setEnabled(false);
    return;
  }
  Browser->setHtml(QString::fromUtf8(file.readAll()));
  FLoaded = true;
  FTopics = readTopics(*Browser->document());
  for (int i = 0; i < FTopics.size(); ++i) {
    // Ideographic spaces take the width of the Japanese titles' font, so levels line up.
    const QString indent(FTopics[i].level - 1, QChar(0x3000));
    auto* item = new QListWidgetItem(indent + FTopics[i].title, TopicList);
    item->setData(Qt::UserRole, i);
  }
}

void THelpWindow::Command(int command) {
  switch (command) {
  case HelpContents:
    showContents();
    break;
  case HelpFinder:
    SearchEdit->clear();
    SearchEdit->setFocus();
    break;
  case HelpHelpOnHelp:
    for (const HelpTopic& topic : FTopics) {
      if (topic.anchor == HelpOnHelpAnchor) jumpTo(topic);
    }
    break;
  default:
    break;
  }
  show();
  raise();
  activateWindow();
}

void THelpWindow::showContents() {
  Browser->moveCursor(QTextCursor::Start);
  Browser->scrollToAnchor(FTopics.isEmpty() ? QString() : FTopics.first().anchor);
  Browser->verticalScrollBar()->setValue(0);
}

void THelpWindow::filterTopics(const QString& query) {
  const QString wanted = query.trimmed();
  for (int i = 0; i < TopicList->count(); ++i) {
    QListWidgetItem* item = TopicList->item(i);
    const HelpTopic& topic = FTopics[item->data(Qt::UserRole).toInt()];
    item->setHidden(!wanted.isEmpty() && !matches(topic, wanted));
  }
}

void THelpWindow::topicChosen(QListWidgetItem* item) {
  if (item) jumpTo(FTopics[item->data(Qt::UserRole).toInt()]);
}

// Shows the topic's heading at the top; when the search word occurs in the section's text,
// its first occurrence there is selected.
void THelpWindow::jumpTo(const HelpTopic& topic) {
  QTextCursor cursor(Browser->document());
  cursor.setPosition(topic.position);
  const QString wanted = SearchEdit->text().trimmed();
  if (!wanted.isEmpty() && topic.text.contains(wanted, Qt::CaseInsensitive)) {
    const QTextCursor found = Browser->document()->find(wanted, topic.position);
    if (!found.isNull()) cursor = found;
  }
  Browser->setTextCursor(cursor);
  Browser->scrollToAnchor(topic.anchor);
  if (cursor.hasSelection()) Browser->ensureCursorVisible();
}
