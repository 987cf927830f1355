// The words the program says about derivatives and integrals: a tangent's equation and the
// reason a slope or an area has no number, one text for the analysis window and kurvo-render.
#pragma once

#include "Derivative.h"
#include "Integral.h"

#include <QString>

// "y = 0.5403023059 x + 0.3011686789": ten significant digits, as the tangent is read off.
QString TangentEquation(double slope, double intercept);
QString DerivativeReason(const DerivativeResult& result);
QString IntegralReason(const IntegralResult& result);
