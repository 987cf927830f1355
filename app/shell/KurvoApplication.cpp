#include "KurvoApplication.h"

#include "ErrorBox.h"
#include "FontSubstitutes.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QWidget>

QString ChooseHelpFile(const QString& programDir, const QString& installedFile) {
  const QString beside = QDir(programDir).filePath(QStringLiteral("../share/kurvo/") +
                                                   QFileInfo(installedFile).fileName());
  return QFileInfo::exists(beside) ? QDir::cleanPath(beside) : installedFile;
}

// A desktop opens one document per program; Qt has taken its own options out already.
StartArguments ReadStartArguments(const QStringList& arguments) {
  StartArguments start;
  if (arguments.size() > 1) start.document = arguments[1];
  if (arguments.size() > 2) start.ignored = arguments.mid(2);
  return start;
}

TKurvoApplication::TKurvoApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // No display name: on X11 Qt would append it to every window's caption.
  setApplicationName(QStringLiteral("kurvo"));
  installFontSubstitutes();
  // The program speaks Japanese, so Qt's own dialogs (files, fonts, colours, message boxes)
  // do too; without the translation they stay in English.
  if (qtTranslation.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(&qtTranslation);
}

bool TKurvoApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    const auto* widget = qobject_cast<QWidget*>(receiver);
    ReportError(error, widget ? widget->window() : activeWindow());
  }
  return true;
}
