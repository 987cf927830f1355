// RelationText: a relation's text split at its one relation sign: "L = R" (or "=="), "L < R",
// "L <= R", "L > R", "L >= R". The sign counts only outside parentheses, subscripts and string
// literals, so that a comparison inside a formula ("(x<1)*y = 2") stays part of its side.
#pragma once

#include <QString>

#include <optional>

enum class RelationSign { Equal, Less, LessOrEqual, Greater, GreaterOrEqual };

struct Relation {
  QString left;
  QString right;
  RelationSign sign;

  // L - R, as one formula whose sign tells on which side of the relation a point lies.
  QString difference() const;
  // Whether a point satisfies it, from the value of difference() there.
  bool holds(double difference) const;
  bool isInequality() const { return sign != RelationSign::Equal; }
  // Whether the boundary belongs to the region (=, <=, >=): drawn solid; otherwise dashed.
  bool includesBoundary() const;
};

// The relation the text holds; nothing when it holds no relation sign or more than one.
std::optional<Relation> splitRelation(const QString& text);

// What the feedback line says of a text that holds no relation, or more than one.
QString relationSignMissing();
