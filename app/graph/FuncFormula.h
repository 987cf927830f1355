// TFormula: one function slot of a graph: its kind of curve, the formula texts, the pen of
// its curve, and whether its most recent evaluation failed. A y = f(x) slot holds f in the
// variable x, an x = f(y) slot f in y, a polar slot r in t, a parametric slot x in t (Formula)
// and y in t (FormulaY).
#pragma once

#include "CurveKind.h"
#include "GraphPen.h"
#include "RelationText.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class TEvalon;

class TFormula {
public:
  static constexpr long double DefaultTMin = 0.0L;
  static constexpr long double DefaultTMax = 6.283185307179586476925286766559L; // 2π

  QString Formula; // empty: the slot holds no function (a parametric slot: nor FormulaY)
  TPen Pen;
  CurveKind Kind = CurveKind::Function;
  QString FormulaY; // y(t); kept, but not drawn, while the slot is of another kind
  long double TMin = DefaultTMin; // the range of t of parametric and polar slots
  long double TMax = DefaultTMax;

  bool Used() const;
  // The slot as the legend names it: a y = f(x) formula or a relation as written, the others
  // as equations
  // ("x = y^2-2", "r = cos(5*t)", "x = cos(t), y = sin(t)").
  QString Caption() const;
  // The texts the slot's kind evaluates: Formula, and FormulaY for a parametric slot.
  QStringList Texts() const;
  // The parameters its texts read, in the order of first use: t is no parameter of a
  // parametric or polar slot, nor y of an x = f(y) slot.
  QStringList ParameterNames() const;
  bool Error() const { return error; }
  // The value of Formula with the slot's running variable (x, t, or y for x = f(y)) at v,
  // through the engine binding (which may be missing); sets Error. The value of a failed
  // evaluation carries no meaning.
  long double Calculate(TEvalon* evalon, long double v);
  // The same for FormulaY, the y(t) of a parametric slot.
  long double CalculateY(TEvalon* evalon, long double t);
  // The point of a parametric or polar slot at t; false, and Error set, when a formula fails
  // there.
  bool CalculatePoint(TEvalon* evalon, long double t, long double& x, long double& y);
  // The relation of a relation slot; nothing when its text holds no relation sign or more
  // than one.
  const std::optional<Relation>& RelationOf();
  // L - R of a relation slot at (x, y); false, and Error set, where it has no value or the
  // text holds no relation.
  bool CalculateRelation(TEvalon* evalon, long double x, long double y, long double& difference);
  // Equal in what a document holds: kind, texts, t range and pen, not the last evaluation.
  bool operator==(const TFormula& other) const {
    return Formula == other.Formula && Pen == other.Pen && Kind == other.Kind &&
           FormulaY == other.FormulaY && TMin == other.TMin && TMax == other.TMax;
  }

private:
  // A text in the engine's encoding, converted once for each new text rather than at every
  // sample.
  struct Encoded {
    QString text;
    QByteArray bytes;
    const QByteArray& of(const QString& formula);
  };
  long double evaluate(TEvalon* evalon, Encoded& encoded, const QString& text);
  long double evaluateAt(TEvalon* evalon, long double v, Encoded& encoded, const QString& text);

  bool error = false;
  QString relationText; // the Formula that relation holds the split of
  std::optional<Relation> relation;
  QString relationDifference; // its L - R, evaluated at every point
  Encoded encodedRelation;
  Encoded encodedX;
  Encoded encodedY;
};
