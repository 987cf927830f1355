// The application object of Kurvo: its title, its help file, and the catch that turns an
// error escaping a command into the error box.
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTranslator>

// The help document beside the program, in the share folder next to its bin folder, as the
// build tree has it; otherwise the installed one.
QString ChooseHelpFile(const QString& programDir, const QString& installedFile);

// What the command line asks for: the document to open at start (its first argument after the
// program's name, empty for none) and the arguments after it, which are ignored.
struct StartArguments {
  QString document;
  QStringList ignored;
};
StartArguments ReadStartArguments(const QStringList& arguments);

class TKurvoApplication : public QApplication {
  Q_OBJECT

public:
  // Sets the application title and the font substitutes of the typefaces the program names.
  TKurvoApplication(int& argc, char** argv);

  const QString& HelpFile() const { return helpFile; }
  void setHelpFile(const QString& path) { helpFile = path; }

  // Delivers every event inside a catch: a KurvoError or any other standard exception thrown by
  // a handler ends that command in the error box over the receiver's window instead of ending
  // the program.
  bool notify(QObject* receiver, QEvent* event) override;

private:
  QString helpFile;
  QTranslator qtTranslation;
};
