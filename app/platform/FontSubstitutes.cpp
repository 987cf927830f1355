#include "FontSubstitutes.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutes() {
  // The proportional name takes the proportional IPA face, the fixed-pitch name the fixed
  // one; either falls back to the other and then to a common CJK face.
  QFont::insertSubstitutions(QStringLiteral(u"ＭＳ Ｐゴシック"),
                             {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                              QStringLiteral("Noto Sans CJK JP")});
  QFont::insertSubstitutions(QStringLiteral(u"ＭＳ ゴシック"),
                             {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                              QStringLiteral("Noto Sans Mono CJK JP")});
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("DejaVu Sans"), QStringLiteral("IPAPGothic")});
}
