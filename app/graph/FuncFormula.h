// TFormula: one function slot of a graph: the formula text in the variable x, the pen of
// its curve, and whether its most recent evaluation failed.
#pragma once

#include "GraphPen.h"

#include <QByteArray>
#include <QString>

class TEvalon;

class TFormula {
public:
  QString Formula; // empty: the slot holds no function
  TPen Pen;

  bool Error() const { return error; }
  // The formula's value at x through the engine binding (which may be missing); sets Error.
  // The value of a failed evaluation carries no meaning.
  long double Calculate(TEvalon* evalon, long double x);
  // Equal in what a document holds: the text and the pen, not the last evaluation.
  bool operator==(const TFormula& other) const {
    return Formula == other.Formula && Pen == other.Pen;
  }

private:
  bool error = false;
  QString encodedText; // the Formula that encoded holds, in the engine's encoding
  QByteArray encoded;
};
