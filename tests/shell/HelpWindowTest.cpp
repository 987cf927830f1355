#include "HelpWindow.h"

#include "KurvoApplication.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

const QString HelpSource = QStringLiteral(KURVO_HELP_SOURCE);

const HelpTopic* topic(const THelpWindow& window, const QString& anchor) {
  for (const HelpTopic& t : window.topics())
    if (t.anchor == anchor) return &t;
  return nullptr;
}

QListWidgetItem* listItem(const THelpWindow& window, const QString& anchor) {
  for (int i = 0; i < window.TopicList->count(); ++i) {
    QListWidgetItem* item = window.TopicList->item(i);
    if (window.topics()[item->data(Qt::UserRole).toInt()].anchor == anchor) return item;
  }
  return nullptr;
}

int scrollPosition(const THelpWindow& window) {
  return window.Browser->verticalScrollBar()->value();
}

} // namespace

TEST(HelpDocument, EveryLinkLeadsToAHeadingAndTheLanguageIsDescribed) {
  THelpWindow window(HelpSource);
  ASSERT_TRUE(window.isLoaded());
  QFile file(HelpSource);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(file.readAll());
  EXPECT_FALSE(html.contains(QStringLiteral("src="))) << "the document must stand alone";
  const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
  int links = 0;
  for (const auto& match : link.globalMatch(html)) {
    ++links;
    EXPECT_NE(topic(window, match.captured(1)), nullptr) << match.captured(1).toStdString();
  }
  EXPECT_GE(links, 15);

  const HelpTopic* functions = topic(window, QStringLiteral("functions"));
  ASSERT_NE(functions, nullptr);
  for (const char* name :
       {"sin", "cos",  "tan",   "exp", "log10", "log",  "log2", "asin",  "acos",  "atan", "sqrt",
        "abs", "ceil", "floor", "int", "sind",  "cosd", "tand", "asind", "acosd", "atand"})
    EXPECT_TRUE(functions->text.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(name))))
        << name;
}

TEST(HelpWindow, AnswersTheContentsFinderAndHelpOnHelpCommands) {
  THelpWindow window(HelpSource);
  window.Command(THelpWindow::HelpHelpOnHelp);
  ASSERT_TRUE(window.isVisible());
  EXPECT_EQ(window.Browser->textCursor().block().text(), QStringLiteral("ヘルプの使い方"));
  EXPECT_GT(scrollPosition(window), 0);

  window.Command(THelpWindow::HelpContents);
  EXPECT_EQ(scrollPosition(window), 0);
  EXPECT_EQ(window.Browser->textCursor().position(), 0);

  // The finder lists every heading; a search word keeps the sections that mention it.
  window.SearchEdit->setText(QStringLiteral("leftover"));
  window.Command(THelpWindow::HelpFinder);
  EXPECT_TRUE(window.SearchEdit->text().isEmpty());
  ASSERT_EQ(window.TopicList->count(), window.topics().size());
  EXPECT_GE(window.TopicList->count(), 15);
  for (int i = 0; i < window.TopicList->count(); ++i)
    EXPECT_FALSE(window.TopicList->item(i)->isHidden());

  QTest::keyClicks(window.SearchEdit, QStringLiteral("sqrt"));
  EXPECT_TRUE(listItem(window, QStringLiteral("functions"))->isHidden() == false);
  EXPECT_TRUE(listItem(window, QStringLiteral("files"))->isHidden());

  // Choosing a topic jumps there and selects the word's first occurrence in that section.
  QListWidgetItem* item = listItem(window, QStringLiteral("functions"));
  window.TopicList->scrollToItem(item);
  QTest::mouseClick(window.TopicList->viewport(), Qt::LeftButton, {},
                    window.TopicList->visualItemRect(item).center());
  const QTextCursor cursor = window.Browser->textCursor();
  EXPECT_EQ(cursor.selectedText(), QStringLiteral("sqrt"));
  EXPECT_GE(cursor.position(), topic(window, QStringLiteral("functions"))->position);
  EXPECT_GT(scrollPosition(window), 0);

  window.SearchEdit->setText(QStringLiteral("no such words anywhere"));
  for (int i = 0; i < window.TopicList->count(); ++i)
    EXPECT_TRUE(window.TopicList->item(i)->isHidden());
}

TEST(HelpWindow, AMissingFileIsNamedInTheWindow) {
  const QString missing = QStringLiteral("/nonexistent/kurvo/KURVO.HLP");
  THelpWindow window(missing);
  for (int command : {3, 11, 4})
    window.Command(command);
  EXPECT_FALSE(window.isLoaded());
  EXPECT_TRUE(window.Browser->toPlainText().contains(missing));
  EXPECT_EQ(window.TopicList->count(), 0);
}

// A program run from the build tree finds the document the build copied beside it; without
// that copy it takes the installed one.
TEST(HelpFile, IsTheOneBesideTheProgramWhereThereIsOneElseTheInstalledOne) {
  QTemporaryDir tree;
  const QDir root(tree.path());
  ASSERT_TRUE(root.mkpath(QStringLiteral("bin")) && root.mkpath(QStringLiteral("share/kurvo")));
  const QString installed = QStringLiteral("/opt/kurvo/share/kurvo/KURVO.HLP");
  EXPECT_EQ(ChooseHelpFile(root.filePath(QStringLiteral("bin")), installed), installed);

  const QString beside = root.filePath(QStringLiteral("share/kurvo/KURVO.HLP"));
  ASSERT_TRUE(QFile::copy(HelpSource, beside));
  EXPECT_EQ(ChooseHelpFile(root.filePath(QStringLiteral("bin")), installed), beside);
}
