#include "KurvoApplication.h"

#include "ErrorBox.h"
#include "FontSubstitutes.h"
#include "KurvoError.h"

#include <QLibraryInfo>
#include <QLocale>

#include <new>

TKurvoApplication::TKurvoApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("kurvo"));
  setApplicationDisplayName(ApplicationTitle);
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
  } catch (const KurvoError& error) {
    ShowErrorBox(error.message());
  } catch (const std::bad_alloc&) {
    ShowErrorBox(QStringLiteral("メモリが不足しています"));
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromUtf8(error.what()));
  }
  return true;
}
