// The help window: our own help document (HTML) shown beside an index of its headings, opened
// with the three help commands of the main window.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTextBrowser;

// One heading of the help document with the text of its section, for the finder.
struct HelpTopic {
  QString title;
  QString anchor;
  int level = 0;
  int position = 0; // where the heading starts in the shown document
  QString text;     // the section's plain text up to the next heading
};

class THelpWindow : public QWidget {
  Q_OBJECT

public:
  // The help commands of the main window's Help menu.
  enum HelpCommand { HelpContents = 3, HelpHelpOnHelp = 4, HelpFinder = 11 };

  explicit THelpWindow(const QString& helpFile, QWidget* parent = nullptr);

  // Shows the window for one help command; other numbers only bring the window up.
  void Command(int command);

  const QList<HelpTopic>& topics() const { return FTopics; }
  bool isLoaded() const { return FLoaded; }

  QTextBrowser* Browser = nullptr;
  QLineEdit* SearchEdit = nullptr;
  QListWidget* TopicList = nullptr;
  QPushButton* btnContents = nullptr;
  QPushButton* btnBack = nullptr;

private:
  void buildWindow();
  void loadDocument(const QString& helpFile);
  void filterTopics(const QString& query);
  void topicChosen(QListWidgetItem* item);
  void jumpTo(const HelpTopic& topic);
  void showContents();

  QList<HelpTopic> FTopics;
  bool FLoaded = false;
};
