#include "RelationText.h"

#include "FormulaChars.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace {

struct SignText {
  const char* text;
  std::optional<RelationSign> sign; // none: an operator of the formula language, no relation
};

// Longest first, so that "<=" is not read as "<" before "=".
constexpr std::array<SignText, 8> Signs = {{{"==", RelationSign::Equal},
                                            {"<=", RelationSign::LessOrEqual},
                                            {">=", RelationSign::GreaterOrEqual},
                                            {"!=", std::nullopt},
                                            {"=", RelationSign::Equal},
                                            {"<", RelationSign::Less},
                                            {">", RelationSign::Greater},
                                            {"!", std::nullopt}}};

struct Found {
  qsizetype at;
  qsizetype length;
  RelationSign sign;
};

} // namespace

QString Relation::difference() const {
  return QStringLiteral("(%1)-(%2)").arg(left, right);
}

bool Relation::holds(double d) const {
  switch (sign) {
  case RelationSign::Equal: return d == 0;
  case RelationSign::Less: return d < 0;
  case RelationSign::LessOrEqual: return d <= 0;
  case RelationSign::Greater: return d > 0;
  case RelationSign::GreaterOrEqual: return d >= 0;
  }
  return false;
}

bool Relation::includesBoundary() const {
  return sign == RelationSign::Equal || sign == RelationSign::LessOrEqual ||
         sign == RelationSign::GreaterOrEqual;
}

std::optional<Relation> splitRelation(const QString& text) {
  std::optional<Found> found;
  int depth = 0;
  for (qsizetype p = 0; p < text.size();) {
    const QChar c = text[p];
    if (c == QLatin1Char('"')) {
      p = formulaStringEnd(text, p);
      continue;
    }
    if (c == QLatin1Char('(') || c == QLatin1Char('[')) ++depth;
    if (c == QLatin1Char(')') || c == QLatin1Char(']')) --depth;
    const auto sign = std::find_if(Signs.begin(), Signs.end(), [&](const SignText& s) {
      return QStringView(text).mid(p).startsWith(QLatin1String(s.text));
    });
    if (sign == Signs.end()) {
      ++p;
      continue;
    }
    const qsizetype length = qsizetype(std::char_traits<char>::length(sign->text));
    if (depth == 0 && sign->sign) {
      if (found) return std::nullopt;
      found = Found{p, length, *sign->sign};
    }
    p += length;
  }
  if (!found) return std::nullopt;
  return Relation{text.left(found->at).trimmed(), text.mid(found->at + found->length).trimmed(),
                  found->sign};
}

QString relationSignMissing() {
  return QStringLiteral("関係式には = か不等号が一つ必要です");
}
